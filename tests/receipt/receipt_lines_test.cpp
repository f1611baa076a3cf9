// The receipt's printed lines for CF-e the module emulator issued: one table row per shape of
// sale, each with lines that must be printed (whole lines, leading blanks aside) and lines that
// must not; then the rules every receipt keeps, and the cancellation pair.

#include "issuing_module.h"
#include "receipt/cancelled_sale.h"
#include "receipt/issued_documents.h"
#include "receipt/receipt_lines.h"
#include "receipt/receipt_text.h"
#include "receipt/receipt_writer.h"
#include "tests/emulator/sale_shapes.h"
#include "tests/support/answer_text.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

namespace receipt_test {
namespace {

using namespace receipt;
using test_support::replacedFirst;
using Changes = std::vector<std::pair<std::string, std::string>>;

struct SaleRow {
    const char* name;
    Changes sent;                     // on the two-item test sale before it is sent
    Changes issued;                   // on the CF-e the module returned
    std::vector<std::string> printed; // patterns of whole lines
    std::vector<std::string> absent;
};

const std::vector<SaleRow>& saleRows() {
    using emulator_test::delivery;
    using emulator_test::payment;
    using emulator_test::serviceItem;
    static const std::vector<SaleRow> rows{
        {"customer CPF, item discounts, approximate taxes, test condition",
         {},
         {},
         {"CONTRIBUINTE DE TESTE DO EMULADOR",
          "RUA DO EMULADOR, 100",
          "CENTRO",
          "CIDADE DE TESTE/SP CEP: 01001-000",
          "CNPJ: 12.345.678/0001-95",
          "IE: 111111111111",
          "Extrato No. 000000",
          "CUPOM FISCAL ELETRÔNICO - SAT",
          "= T E S T E =",
          ">{48}",
          "CPF/CNPJ do Consumidor: 529.982.247-25",
          "# \\| COD \\| DESC \\| QTD \\| UN \\| VL UN R\\$ \\| \\(VL TR R\\$\\)\\* \\| VL ITEM "
          "R\\$",
          "001 1 Produto de teste 1 +2 UN x 10,555 \\(1,00\\) 21,11",
          "desconto sobre item +-0,50",
          "Total bruto de itens +42,22",
          "Desconto sobre item +-1,00",
          "TOTAL R\\$ +41,22",
          "Dinheiro +100\\.000,00",
          "Troco R\\$ +99\\.958,78",
          "OBSERVAÇÕES DO CONTRIBUINTE",
          "Obrigado",
          "\\*Valor aproximado dos tributos do item",
          "Valor aproximado dos tributos deste cupom R\\$ +2,00",
          "\\(conforme Lei Fed\\. 12\\.741/2012\\)",
          "SAT no\\. [0-9]{9}",
          "[0-9]{2}/[0-9]{2}/20[0-9]{2} - [0-9]{2}:[0-9]{2}:[0-9]{2}",
          "([0-9]{4} ){10}[0-9]{4}",
          "Consulte o QR Code pelo aplicativo \"De olho na nota\", .*"},
         {"IM: .*", "Razão Social/Nome: .*", "CONSUMIDOR NÃO IDENTIFICADO", "DADOS PARA ENTREGA",
          "Acréscimo sobre .*"}},
        {"production environment",
         {},
         {{"<tpAmb>2</tpAmb>", "<tpAmb>1</tpAmb>"}},
         {"Extrato No. [0-9]{6}"},
         {"Extrato No. 000000", "= T E S T E =", ">+"}},
        {"customer CNPJ with a name",
         {{"<CPF>52998224725</CPF>", "<CNPJ>11222333000181</CNPJ><xNome>Fulano de Tal</xNome>"}},
         {},
         {"CPF/CNPJ do Consumidor: 11.222.333/0001-81", "Razão Social/Nome: Fulano de Tal"},
         {}},
        {"no customer",
         {{"<CPF>52998224725</CPF>", ""}},
         {},
         {"CONSUMIDOR NÃO IDENTIFICADO"},
         {"CPF/CNPJ do Consumidor:.*"}},
        {"item increase and subtotal discount",
         {{"<indRegra>A</indRegra><vDesc>0.50</vDesc>",
           "<indRegra>A</indRegra><vOutro>1.25</vOutro>"},
          {"<total>", "<total><DescAcrEntr><vDescSubtot>1.00</vDescSubtot></DescAcrEntr>"}},
         {},
         {"acréscimo sobre item +\\+1,25", "rateio de desconto sobre subtotal +-0,[0-9]{2}",
          "Total bruto de itens +42,22", "Desconto sobre item +-0,50",
          "Acréscimo sobre item +\\+1,25", "Desconto sobre subtotal +-1,00", "TOTAL R\\$ +41,97"},
         {}},
        {"subtotal increase",
         {{"<total>", "<total><DescAcrEntr><vAcresSubtot>0.99</vAcresSubtot></DescAcrEntr>"}},
         {},
         {"rateio de acréscimo sobre subtotal +\\+0,[0-9]{2}", "Acréscimo sobre subtotal +\\+0,99",
          "TOTAL R\\$ +42,21"},
         {}},
        {"ISSQN item",
         {{"<indRatISSQN>", "<IM>123456</IM><cRegTribISSQN>3</cRegTribISSQN><indRatISSQN>"},
          {"<total>", serviceItem + "<total>"}},
         {},
         {"IM: 123456",
          "003 S Servico +1 H x 21,00 \\(0,00\\) 21,00|003 S Servico +1 H x 21,00 21,00",
          "dedução para ISSQN +-1,00", "base de cálculo ISSQN +20,00",
          "Total bruto de itens +63,22", "TOTAL R\\$ +62,22"},
         {}},
        {"several payments with change",
         {{payment, "<pgto><MP><cMP>03</cMP><vMP>10.00</vMP><cAdmC>001</cAdmC></MP><MP><cMP>01"
                    "</cMP><vMP>40.00</vMP></MP></pgto>"}},
         {},
         {"Cartão de Crédito +10,00", "Dinheiro +40,00", "Troco R\\$ +8,78"},
         {}},
        {"exact payment, no change, no approximate taxes, no notes",
         {{"<vMP>100000.00", "<vMP>41.22"},
          {"<vCFeLei12741>2.00</vCFeLei12741>", ""},
          {"<vItem12741>1.00</vItem12741>", ""},
          {"<vItem12741>1.00</vItem12741>", ""},
          {"<infAdic><infCpl>Obrigado</infCpl></infAdic>", ""}},
         {},
         {"001 1 Produto de teste 1 +2 UN x 10,555 21,11",
          "# \\| COD \\| DESC \\| QTD \\| UN \\| VL UN R\\$ \\| VL ITEM R\\$"},
         {"Troco R\\$.*", "OBSERVAÇÕES DO CONTRIBUINTE", ".*Valor aproximado.*"}},
        {"payment codes outside the sale's table",
         {},
         {{"<cMP>01</cMP>", "<cMP>17</cMP>"}},
         {"Pagamento Instantâneo \\(PIX\\) +100\\.000,00"},
         {}},
        {"unknown payment code",
         {},
         {{"<cMP>01</cMP>", "<cMP>42</cMP>"}},
         {"Meio de pagamento 42 +100\\.000,00"},
         {}},
        {"tax authority notes in both places",
         {},
         {{"</infCpl>",
           "</infCpl><obsFisco xCampo=\"xCampo1\"><xTexto>Texto um</xTexto></obsFisco>"},
          {"<pgto>", "<obsFisco xCampo=\"xCampo2\"><xTexto>Texto dois</xTexto></obsFisco><pgto>"}},
         {"xCampo1: Texto um", "xCampo2: Texto dois"},
         {}},
        {"delivery to a named customer",
         {{"</CPF>", "</CPF><xNome>Fulano de Tal</xNome>"}, {"</dest>", "</dest>" + delivery}},
         {},
         {"DADOS PARA ENTREGA", "Endereço: Rua A, 1, Centro, Fortaleza/CE",
          "Destinatário: Fulano de Tal"},
         {}},
        {"accented description wrapped by characters",
         {{"<xProd>Produto de teste 1</xProd>",
           "<xProd>Pão de açúcar orgânico à moda da mamãe, embalagem econômica família</xProd>"}},
         {},
         // The amount ends at column 64 when characters, not bytes, are counted.
         {"001 1 Pão de açúcar orgânico à moda da mamãe, embalagem",
          "econômica família {21}2 UN x 10,555 \\(1,00\\) 21,11"},
         {}},
        {"trade name and address complement",
         {},
         {{"<xNome>CONTRIBUINTE", "<xFant>LOJA DO TESTE</xFant><xNome>CONTRIBUINTE"},
          {"<xBairro>CENTRO", "<xCpl>SALA 2</xCpl><xBairro>CENTRO"}},
         {"LOJA DO TESTE", "RUA DO EMULADOR, 100, SALA 2"},
         {}},
    };
    return rows;
}

std::string applied(std::string text, const Changes& changes) {
    for (const auto& [from, to] : changes)
        text = replacedFirst(text, from, to);
    return text;
}

std::vector<std::string> texts(const Receipt& r) {
    std::vector<std::string> lines;
    for (const PrintLine& line : r.lines) {
        if (line.kind == PrintLine::Kind::text)
            lines.push_back(
                line.text.substr(std::min(line.text.find_first_not_of(' '), line.text.size())));
    }
    return lines;
}

bool anyLineMatches(const std::vector<std::string>& lines, const std::string& pattern) {
    const std::regex re(pattern);
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& l) { return std::regex_match(l, re); });
}

std::vector<std::string> codes(const Receipt& r, PrintLine::Kind kind) {
    std::vector<std::string> found;
    for (const PrintLine& line : r.lines) {
        if (line.kind == kind)
            found.push_back(line.text);
    }
    return found;
}

SaleDocument readOrFail(const std::string& xml) {
    const Read<SaleDocument> read = readSale(xml);
    if (!read.document)
        throw std::runtime_error(read.error);
    return *read.document;
}

class ReceiptLines : public ::testing::Test {
protected:
    IssuingModule module;
};

TEST_F(ReceiptLines, EachShapeOfSalePrintsItsLinesAndNoneThatDoNotApply) {
    for (const SaleRow& row : saleRows()) {
        SCOPED_TRACE(row.name);
        const std::string cfe =
            applied(module.sell(applied(emulator_test::saleDocument(2), row.sent)), row.issued);
        const SaleDocument sale = readOrFail(cfe);
        const auto lines = texts(saleReceipt(sale, Paper::mm80, Variant::full));
        for (const std::string& pattern : row.printed)
            EXPECT_TRUE(anyLineMatches(lines, pattern)) << "missing: " << pattern << "\n"
                                                        << ::testing::PrintToString(lines);
        for (const std::string& pattern : row.absent)
            EXPECT_FALSE(anyLineMatches(lines, pattern)) << "printed: " << pattern;
    }
}

// What every receipt keeps whatever the sale: no text wider than its paper's columns, the key
// in one barcode (80 mm) or two halves (58 mm), and the QR code's five fields.
TEST_F(ReceiptLines, EveryLineFitsItsPaperAndTheCodesCarryTheKeyAndTheAnswer) {
    for (const SaleRow& row : saleRows()) {
        SCOPED_TRACE(row.name);
        const SaleDocument sale = readOrFail(
            applied(module.sell(applied(emulator_test::saleDocument(2), row.sent)), row.issued));
        const std::string qr = sale.key + "|" + sale.date + sale.time + "|" + sale.total + "|" +
                               sale.customer.document() + "|" + sale.qrSignature;
        for (Paper paper : {Paper::mm80, Paper::mm58}) {
            for (Variant variant : {Variant::full, Variant::summarised}) {
                const Receipt r = saleReceipt(sale, paper, variant);
                for (const PrintLine& line : r.lines) {
                    const Columns c = columnsOf(paper);
                    EXPECT_LE(width(line.text) * (line.kind == PrintLine::Kind::text),
                              line.condensed ? c.condensed : c.normal)
                        << line.text;
                }
                EXPECT_EQ(codes(r, PrintLine::Kind::qrCode), std::vector{qr});
                const auto barcodes = codes(r, PrintLine::Kind::barcode);
                if (paper == Paper::mm80)
                    EXPECT_EQ(barcodes, std::vector{sale.key});
                else
                    EXPECT_EQ(barcodes, (std::vector{sale.key.substr(0, 22), sale.key.substr(22)}));
            }
        }
    }
}

TEST_F(ReceiptLines, QrCodeOfASaleWithoutCustomerHasAnEmptyFourthField) {
    const SaleDocument sale = readOrFail(
        module.sell(replacedFirst(emulator_test::saleDocument(1), "<CPF>52998224725</CPF>", "")));
    const auto qr = codes(saleReceipt(sale, Paper::mm80, Variant::full), PrintLine::Kind::qrCode);
    ASSERT_EQ(qr.size(), 1u);
    EXPECT_THAT(qr[0], ::testing::HasSubstr("|20.61||"));
    EXPECT_EQ(emulator_test::answerFields(qr[0]).size(), 5u);
}

TEST_F(ReceiptLines, SummarisedReceiptDropsTheItemsOnly) {
    const SaleDocument sale = readOrFail(module.sell(emulator_test::saleDocument(3)));
    const auto full = texts(saleReceipt(sale, Paper::mm80, Variant::full));
    const auto summarised = texts(saleReceipt(sale, Paper::mm80, Variant::summarised));
    EXPECT_FALSE(anyLineMatches(summarised, "# \\| COD.*"));
    EXPECT_FALSE(anyLineMatches(summarised, "00[1-3] .*|desconto sobre item.*|\\*Valor.*"));
    std::vector<std::string> kept;
    std::copy_if(full.begin(), full.end(), std::back_inserter(kept), [](const std::string& l) {
        return !std::regex_match(l, std::regex("# \\| COD.*|00[1-3] .*|desconto sobre item.*|"
                                               "\\*Valor aproximado dos tributos do item"));
    });
    EXPECT_EQ(summarised, kept);
}

TEST_F(ReceiptLines, FiveHundredItemsAreAllPrintedInOrder) {
    const SaleDocument sale = readOrFail(module.sell(emulator_test::saleDocument(500)));
    const auto lines = texts(saleReceipt(sale, Paper::mm58, Variant::full));
    std::vector<std::string> itemStarts;
    for (const std::string& line : lines) {
        if (std::regex_match(line, std::regex("[0-9]{3} [0-9]+ Produto de teste [0-9]+.*")))
            itemStarts.push_back(line.substr(0, 3));
    }
    ASSERT_EQ(itemStarts.size(), 500u);
    EXPECT_EQ(itemStarts[0], "001");
    EXPECT_EQ(itemStarts[499], "500");
    EXPECT_TRUE(anyLineMatches(lines, "TOTAL R\\$ +10\\.305,00"));
}

TEST_F(ReceiptLines, CancellationShowsBothKeysBothTimesAndBothQrCodes) {
    const std::string saleXml = module.sell(emulator_test::saleDocument(2));
    const SaleDocument sale = readOrFail(saleXml);
    const Read<CancellationDocument> read = readCancellation(module.cancel("CFe" + sale.key));
    ASSERT_TRUE(read.document) << read.error;
    const CancellationDocument& canc = *read.document;
    EXPECT_EQ(saleMismatch(canc, sale), "");
    EXPECT_EQ(canc.saleKey, sale.key);

    for (Paper paper : {Paper::mm80, Paper::mm58}) {
        const Receipt r = cancellationReceipt(canc, sale, paper);
        const auto lines = texts(r);
        // The long titles wrap on 58 mm paper; their words are checked on 80 mm.
        const std::vector<std::string> wanted{"CANCELAMENTO",
                                              "= T E S T E =",
                                              "DADOS DO CUPOM FISCAL ELETRÔNICO CANCELADO",
                                              "DADOS DO CUPOM FISCAL ELETRÔNICO DE CANCELAMENTO",
                                              "CPF/CNPJ do Consumidor: 529.982.247-25",
                                              "TOTAL R\\$ +41,22",
                                              "Consulte o QR Code.*"};
        for (const std::string& pattern : wanted)
            EXPECT_TRUE(paper == Paper::mm58 || anyLineMatches(lines, pattern)) << pattern;
        EXPECT_FALSE(anyLineMatches(lines, "00[12] .*|Dinheiro.*|Troco.*"));
        EXPECT_TRUE(anyLineMatches(
            lines, std::regex_replace(dateText(sale.date) + " - " + timeText(sale.time),
                                      std::regex("[/:]"), ".")));
        EXPECT_TRUE(anyLineMatches(
            lines, std::regex_replace(dateText(canc.date) + " - " + timeText(canc.time),
                                      std::regex("[/:]"), ".")));
        EXPECT_EQ(codes(r, PrintLine::Kind::qrCode),
                  (std::vector{qrContent(sale), qrContent(canc)}));
        EXPECT_THAT(codes(r, PrintLine::Kind::qrCode)[0],
                    ::testing::StartsWith(sale.key + "|" + sale.date + sale.time + "|41.22|" +
                                          emulator_test::customerCpf + "|"));
        const auto barcodes = codes(r, PrintLine::Kind::barcode);
        EXPECT_EQ(barcodes.front().substr(0, 22), sale.key.substr(0, 22));
        EXPECT_EQ(barcodes.back().substr(barcodes.back().size() - 22), canc.key.substr(22));
    }
}

TEST_F(ReceiptLines, CancellationRefusesASaleThatIsNotTheCancelledOne) {
    const SaleDocument first = readOrFail(module.sell(emulator_test::saleDocument(1)));
    const SaleDocument second = readOrFail(module.sell(emulator_test::saleDocument(1)));
    const auto canc = readCancellation(module.cancel("CFe" + second.key));
    ASSERT_TRUE(canc.document);
    EXPECT_THAT(saleMismatch(*canc.document, first), ::testing::HasSubstr("não é o cancelado"));
}

// The window looks for the cancelled sale among the files it remembers: the first that is the
// sale the cancellation names is taken, another sale or a missing file never.
TEST_F(ReceiptLines, CancelledSaleIsFoundAmongCandidateFilesByItsKey) {
    const std::string first = module.sell(emulator_test::saleDocument(1));
    const std::string second = module.sell(emulator_test::saleDocument(1));
    const std::string canc = module.cancel("CFe" + readOrFail(second).key);
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("receipt-candidates-" + std::to_string(portable::processId()));
    std::filesystem::create_directories(folder);
    const auto write = [&](const char* name, const std::string& bytes) {
        std::ofstream(folder / name, std::ios::binary) << bytes;
        return folder / name;
    };
    const auto cancFile = write("RespCanc.xml", canc);
    const auto firstFile = write("Resp_1.xml", first);
    const auto secondFile = write("Resp_2.xml", second);
    EXPECT_EQ(cancelledSaleFile(cancFile, {folder / "none.xml", cancFile, firstFile, secondFile}),
              secondFile);
    EXPECT_EQ(cancelledSaleFile(cancFile, {firstFile, folder}), std::nullopt);
    EXPECT_EQ(cancelledSaleFile(firstFile, {secondFile}), std::nullopt);
    std::filesystem::remove_all(folder);
}

// Files that are not an issued document are refused with a message, never half read.
TEST(ReceiptDocuments, ForeignFilesAreRefusedWithTheReason) {
    const struct {
        const char* name;
        std::string bytes;
        const char* message;
    } cases[] = {
        {"not XML", "Resp_ de texto", "não é um XML legível"},
        {"sale as sent", emulator_test::saleDocument(1), "falta a chave de acesso"},
        {"other document", "<envCFe><infCFe Id=\"CFe1\"/></envCFe>", "elemento raiz envCFe"},
        {"key of 43 digits",
         "<CFe><infCFe Id=\"CFe" + std::string(43, '1') + "\"><ide/></infCFe></CFe>",
         "falta a chave de acesso"},
    };
    for (const auto& c : cases) {
        const Read<SaleDocument> read = readSale(c.bytes);
        EXPECT_FALSE(read.document) << c.name;
        EXPECT_THAT(read.error, ::testing::HasSubstr(c.message)) << c.name;
    }
    EXPECT_THAT(readCancellation("<CFe><infCFe/></CFe>").error,
                ::testing::HasSubstr("não é um CF-e de cancelamento"));
    // A cancellation must name the cancelled sale by a whole key: its receipt prints and draws it.
    const std::string id = "CFe" + std::string(44, '2');
    for (const std::string chCanc : {"", " chCanc=\"\"", " chCanc=\"CFe123\""}) {
        const Read<CancellationDocument> read = readCancellation(
            "<CFeCanc><infCFe Id=\"" + id + "\"" + chCanc + "><ide/></infCFe></CFeCanc>");
        EXPECT_FALSE(read.document) << chCanc;
        EXPECT_THAT(read.error, ::testing::HasSubstr("chave do CF-e cancelado")) << chCanc;
    }
}

TEST(ReceiptText, ValuesAreWrittenAsInBrazil) {
    const std::pair<std::string, std::string> cases[] = {
        {money("1234.5"), "1.234,50"},
        {money("0.05"), "0,05"},
        {money("1234567.89"), "1.234.567,89"},
        {money("1e5"), "1e5"},
        {decimalText("10.555"), "10,555"},
        {quantity("2.0000"), "2"},
        {quantity("1.5000"), "1,5"},
        {quantity("1234.1250"), "1.234,125"},
        {cnpjMask("11222333000181"), "11.222.333/0001-81"},
        {cpfMask("52998224725"), "529.982.247-25"},
        {cepMask("01001000"), "01001-000"},
        {cpfMask("123"), "123"},
        {dateText("20261211"), "11/12/2026"},
        {timeText("090507"), "09:05:07"},
        {keyGroups("35261212345678000195590000000010000012345674"),
         "3526 1212 3456 7800 0195 5900 0000 0010 0000 1234 5674"},
        {labelValue("Valor aproximado dos tributos", "1.000,00", 20), "Valor aprox 1.000,00"},
        {centred("ção", 8), "  ção"},
    };
    for (const auto& [got, expected] : cases)
        EXPECT_EQ(got, expected);
    EXPECT_EQ(
        wrapped("palavras   soltas e umaPalavraMuitoComprida", 10),
        (std::vector<std::string>{"palavras", "soltas e", "umaPalavra", "MuitoCompr", "ida"}));
}

// A label and value wider than the paper: the label wraps by words, and so does a value wider than
// a line (a large item's amount on 58 mm), right-aligned, with no number cut.
TEST(ReceiptText, ALongLabelAndValueWrapWithoutCuttingANumber) {
    const std::string amount = "1.234,125 KG x 1.234,567 (123,45) 1.523.505,57";
    ReceiptWriter w(Paper::mm58);
    w.labelValue("001 7891000315507 Café torrado e moído tradicional", amount, {.condensed = true});
    w.labelValue("Valor aproximado dos tributos deste cupom R$", "2,00", {.condensed = true});
    std::vector<std::string> lines;
    for (const PrintLine& line : w.take().lines)
        lines.push_back(line.text);
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "001 7891000315507 Café torrado e moído",
                         "tradicional",
                         std::string(9, ' ') + "1.234,125 KG x 1.234,567 (123,45)",
                         std::string(30, ' ') + "1.523.505,57",
                         "Valor aproximado dos tributos deste cupom",
                         "R$                                    2,00",
                     }));
}

// The item legend breaks only after a "|": on 58 mm paper (42 condensed columns) "(VL TR R$)*"
// moves whole to the second line.
TEST(ReceiptText, FieldsBreakOnlyBetweenThem) {
    const std::vector<std::string_view> legend{"#",  "COD",      "DESC",        "QTD",
                                               "UN", "VL UN R$", "(VL TR R$)*", "VL ITEM R$"};
    const std::pair<std::vector<std::string>, std::vector<std::string>> cases[] = {
        {wrappedFields(legend, 64),
         {"# | COD | DESC | QTD | UN | VL UN R$ | (VL TR R$)* | VL ITEM R$"}},
        {wrappedFields(legend, 42),
         {"# | COD | DESC | QTD | UN | VL UN R$ |", "(VL TR R$)* | VL ITEM R$"}},
        {wrappedFields({"abc", "de", "fgh"}, 8), {"abc | de", "| fgh"}},
        {wrappedFields({"a", "campo longo demais"}, 8), {"a |", "campo", "longo", "demais"}},
        {wrappedFields({}, 8), {}},
    };
    for (const auto& [got, expected] : cases)
        EXPECT_EQ(got, expected);
}

} // namespace
} // namespace receipt_test
