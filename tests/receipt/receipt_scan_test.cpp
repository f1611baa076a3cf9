// What `tarvik extrato` draws, read back as a customer's phone and a reader would: the PDF
// rendered to an image (pdftoppm) and its codes decoded by a real reader (zbarimg); its text
// taken out with pdftotext. The documents are issued by the module emulator.

#include "issuing_module.h"
#include "tests/cli/run_program.h"
#include "tests/emulator/sale_documents.h"
#include "tests/support/answer_text.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>

namespace receipt_test {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::UnorderedElementsAreArray;

#define SKIP_WITHOUT_TOOLS()                                                                       \
    if (std::string(PDFTOPPM).empty() || std::string(ZBARIMG).empty() ||                           \
        std::string(PDFTOTEXT).empty())                                                            \
    GTEST_SKIP() << "pdftoppm, pdftotext or zbarimg not found: install poppler-utils and "         \
                    "zbar-tools (scripts/setup.sh) and configure again"

std::string keyOf(const std::string& xml) {
    return emulator_test::xpathText(xml, "/*/infCFe/@Id").substr(3);
}

std::string qrOf(const std::string& xml) {
    const auto text = [&](const char* path) { return emulator_test::xpathText(xml, path); };
    std::string customer = text("//dest/CNPJ");
    if (customer == "<none>")
        customer = text("//dest/CPF");
    if (customer == "<none>")
        customer = "";
    return keyOf(xml) + "|" + text("//ide/dEmi") + text("//ide/hEmi") + "|" + text("//total/vCFe") +
           "|" + customer + "|" + text("//ide/assinaturaQRCODE");
}

class ReceiptScan : public ::testing::Test {
protected:
    // Runs tarvik extrato with `args` after the command word.
    cli_test::Ran extrato(std::vector<std::string> args) {
        args.insert(args.begin(), "extrato");
        return cli_test::runProgram(TARVIK_EXE, args, folder.path());
    }

    fs::path saved(const std::string& name, const std::string& xml) {
        cli_test::writeFile(folder / name, xml);
        return folder / name;
    }

    // The PDF made from the files, as the codes a reader finds in it.
    std::vector<std::string> scanned(const std::vector<std::string>& args) {
        const fs::path pdf = folder / "extrato.pdf";
        std::vector<std::string> line = args;
        line.insert(line.end(), {"--pdf", pdf.string()});
        const cli_test::Ran made = extrato(line);
        EXPECT_EQ(made.exit, 0) << made.err;
        const cli_test::Ran image = cli_test::runProgram(
            PDFTOPPM, {"-r", "300", "-png", "-singlefile", pdf.string(), "extrato"}, folder.path());
        EXPECT_EQ(image.exit, 0) << image.err;
        const cli_test::Ran read =
            cli_test::runProgram(ZBARIMG,
                                 {"--raw", "-q", "-Sdisable", "-Sqrcode.enable", "-Scode128.enable",
                                  (folder / "extrato.png").string()},
                                 folder.path());
        EXPECT_EQ(read.exit, 0) << read.err;
        return cli_test::lines(read.out);
    }

    // A sale and its cancellation issued, and the codes read off the cancellation's receipt.
    struct CancelledSale {
        std::string cfe, canc;
        std::vector<std::string> codes;
    };
    CancelledSale scannedCancellation(int items) {
        CancelledSale c;
        c.cfe = module.sell(emulator_test::saleDocument(items));
        c.canc = module.cancel("CFe" + keyOf(c.cfe));
        c.codes = scanned({"--cfe", saved("Resp_venda.xml", c.cfe).string(), "--cancelamento",
                           saved("RespCanc_venda.xml", c.canc).string()});
        return c;
    }

    std::string text(const fs::path& pdf) {
        const cli_test::Ran ran =
            cli_test::runProgram(PDFTOTEXT, {"-layout", pdf.string(), "-"}, folder.path());
        EXPECT_EQ(ran.exit, 0) << ran.err;
        return ran.out;
    }

    IssuingModule module;
    cli_test::TemporaryFolder folder;
};

TEST_F(ReceiptScan, SaleCodesReadBackAsTheKeyAndTheAnswerOnBothPaperWidths) {
    SKIP_WITHOUT_TOOLS();
    const std::string cfe = module.sell(emulator_test::saleDocument(3));
    const std::string key = keyOf(cfe);
    const std::string cfeFile = saved("Resp_venda.xml", cfe).string();
    EXPECT_THAT(scanned({"--cfe", cfeFile}), UnorderedElementsAreArray({qrOf(cfe), key}));
    EXPECT_THAT(scanned({"--cfe", cfeFile, "--largura", "58", "--resumido"}),
                UnorderedElementsAreArray({qrOf(cfe), key.substr(0, 22), key.substr(22)}));
}

TEST_F(ReceiptScan, SaleWithoutCustomerKeepsTheEmptyFieldInItsQrCode) {
    SKIP_WITHOUT_TOOLS();
    const std::string cfe = module.sell(
        test_support::replacedFirst(emulator_test::saleDocument(1), "<CPF>52998224725</CPF>", ""));
    const auto codes = scanned({"--cfe", saved("Resp_venda.xml", cfe).string()});
    EXPECT_THAT(codes, UnorderedElementsAreArray({qrOf(cfe), keyOf(cfe)}));
    EXPECT_THAT(qrOf(cfe), HasSubstr("|20.61||"));
}

TEST_F(ReceiptScan, CancellationCodesReadBackAsBothKeysAndBothAnswers) {
    SKIP_WITHOUT_TOOLS();
    const CancelledSale c = scannedCancellation(2);
    EXPECT_THAT(c.codes, UnorderedElementsAreArray(
                             {qrOf(c.cfe), keyOf(c.cfe), qrOf(c.canc), keyOf(c.canc)}));
}

// The QR code's last field is the module's signature of the four before it, joined without
// separators; the module's certificate verifies it for the sale and for the cancellation.
TEST_F(ReceiptScan, QrCodeSignaturesVerifyAgainstTheModuleCertificate) {
    SKIP_WITHOUT_TOOLS();
    int verified = 0;
    for (const std::string& code : scannedCancellation(1).codes) {
        const auto fields = emulator_test::answerFields(code);
        if (fields.size() != 5)
            continue;
        ++verified;
        EXPECT_TRUE(emulator_test::signatureVerifies(
            module.certificate(), fields[0] + fields[1] + fields[2] + fields[3], fields[4]))
            << code;
        EXPECT_FALSE(emulator_test::signatureVerifies(
            module.certificate(), fields[0] + fields[1] + "9" + fields[2] + fields[3], fields[4]));
    }
    EXPECT_EQ(verified, 2);
}

TEST_F(ReceiptScan, PdfTextHoldsEveryMandatoryText) {
    SKIP_WITHOUT_TOOLS();
    const std::string cfe = module.sell(emulator_test::saleDocument(2));
    const std::string key = keyOf(cfe);
    const fs::path pdf = folder / "venda.pdf";
    ASSERT_EQ(extrato({"--cfe", saved("Resp_venda.xml", cfe).string(), "--pdf", pdf.string()}).exit,
              0);
    const std::string content = text(pdf);
    std::string groups;
    for (std::size_t i = 0; i < key.size(); i += 4)
        groups += (i ? " " : "") + key.substr(i, 4);
    for (const std::string& wanted :
         {std::string("CONTRIBUINTE DE TESTE DO EMULADOR"), std::string("CNPJ: 12.345.678/0001-95"),
          std::string("IE: 111111111111"), std::string("Extrato No. 000000"),
          std::string("CUPOM FISCAL ELETRÔNICO - SAT"), std::string("= T E S T E ="),
          std::string("CPF/CNPJ do Consumidor: 529.982.247-25"), std::string("Produto de teste 2"),
          std::string("TOTAL R$"), std::string("41,22"), std::string("Dinheiro"),
          std::string("Troco R$"), std::string("Valor aproximado dos tributos deste cupom R$"),
          std::string("(conforme Lei Fed. 12.741/2012)"), std::string("SAT no. "), groups,
          std::string("Consulte o QR Code pelo aplicativo \"De olho na nota\"")})
        EXPECT_THAT(content, HasSubstr(wanted));
}

TEST_F(ReceiptScan, MissingAndForeignFilesAreRefusedWithExitStatusTwo) {
    const std::string cfe = module.sell(emulator_test::saleDocument(1));
    const std::string other = module.sell(emulator_test::saleDocument(1));
    const std::string canc = module.cancel("CFe" + keyOf(other));
    const std::string cfeFile = saved("Resp_venda.xml", cfe).string();
    const std::string pdf = (folder / "x.pdf").string();
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"--cfe", (folder / "nenhum.xml").string(), "--pdf", pdf}, "nenhum.xml"},
        {{"--cfe", saved("pedido.xml", emulator_test::saleDocument(1)).string(), "--pdf", pdf},
         "falta a chave de acesso"},
        {{"--cfe", saved("canc.xml", canc).string(), "--pdf", pdf}, "elemento raiz CFeCanc"},
        {{"--cfe", cfeFile, "--cancelamento", (folder / "canc.xml").string(), "--pdf", pdf},
         "não é o cancelado"},
        {{"--cfe", cfeFile, "--cancelamento", cfeFile, "--pdf", pdf}, "elemento raiz CFe"},
        {{"--cfe", cfeFile, "--pdf", pdf, "--largura", "70"}, "largura desconhecida"},
        {{"--cfe", cfeFile}, "--pdf ARQUIVO"},
        // A QR signature no QR code can hold.
        {{"--cfe",
          saved("longo.xml", std::regex_replace(cfe, std::regex("<assinaturaQRCODE>"),
                                                "<assinaturaQRCODE>" + std::string(4000, 'A')))
              .string(),
          "--pdf", pdf},
         "o código não pôde ser gerado"},
        {{"--cfe", cfeFile, "--pdf", (folder / "sem-pasta" / "x.pdf").string()}, "x.pdf"},
    };
    for (const auto& c : cases) {
        const cli_test::Ran ran = extrato(c.args);
        EXPECT_EQ(ran.exit, 2) << c.message;
        EXPECT_THAT(ran.err, HasSubstr(c.message));
    }
    EXPECT_FALSE(fs::exists(pdf));
}

} // namespace
} // namespace receipt_test
