#include "core/catalogue.h"
#include "core/path_text.h"
#include "core/whole_file.h"
#include "documents/cancel_last_sale.h"
#include "documents/cancellation_request.h"
#include "documents/document_operation.h"
#include "tests/documents/base64_encoder.h"
#include "tests/documents/documents_test_support.h"

#include <gtest/gtest.h>

namespace {

using documents_test::base64;
using documents_test::readText;
using documents_test::TempDir;

const core::Operation& cancelar() {
    return *core::operationByPage(9);
}

const std::string key = "CFe35261212345678000195597966232000000014916358";
// The returned cancellation CF-e, two lines, with an accent.
const std::string returned = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<CFeCanc><infCFe Id=\"" +
                             key + "\"><xNome>Padaria Açúcar</xNome></infCFe></CFeCanc>";
const std::string saved = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<CFeCanc><infCFe Id=\"" +
                          key + "\"><xNome>Padaria Açúcar</xNome></infCFe></CFeCanc>\r\n";

struct Page9 {
    TempDir dir;
    std::string field;

    core::OperationLogic bind(bool issuedMode, bool byButton = true) const {
        core::Inputs inputs;
        inputs.set(core::codigoField.key, " 12345678 ");
        inputs.set(issuedMode ? documents::issuedCFeField.key : documents::cancelFileField.key,
                   field);
        if (byButton)
            inputs.set(documents::generatedByButtonKey, "1");
        core::OperationContext context;
        context.programFolder = dir.path();
        return documents::bindCancelarUltimaVenda(cancelar(), inputs, context);
    }
    std::filesystem::path respCanc() const { return dir.path() / "Retornos" / "RespCanc_canc.xml"; }
};

core::Lines reportOf(const core::OperationLogic& logic, const std::string& answer) {
    core::Lines lines;
    try {
        logic.report(answer, lines);
    } catch (...) {
        // The workflow stops a failing report silently; its lines stay.
    }
    return lines;
}

core::Lines fullReport(const std::string& b64, const std::string& cpf, const std::string& qr) {
    return {"",
            "---- Informações do CFeCanc emitido ------------------",
            "Data_Hora da emissão: 20261210133000",
            "Chave de Consulta: CFe1",
            "Total da CFe: 20.61",
            "CPF_CNPJ do Cliente: " + cpf,
            "Assinatura QRCODE: " + qr,
            std::string(54, '-'),
            "",
            "---- XML do CFeCanc emitido em BASE64 ----------------",
            b64,
            std::string(54, '-'),
            "",
            "---- XML do CFeCanc emitido --------------------------",
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>",
            "<CFeCanc><infCFe Id=\"" + key + "\"><xNome>Padaria Açúcar</xNome></infCFe></CFeCanc>",
            std::string(56, '-')};
}

const core::Lines headOnly = {
    "",
    "---- Informações do CFeCanc emitido ------------------",
    "Data_Hora da emissão: 20261210133000",
    "Chave de Consulta: CFe1",
    "Total da CFe: 20.61",
    "CPF_CNPJ do Cliente: 52998224725",
    "Assinatura QRCODE: qr",
    std::string(54, '-'),
};

TEST(CancelLastSale, AnswerTable) {
    core::Lines withNotBase64 = headOnly;
    withNotBase64.emplace_back(documents::notBase64Line);
    const std::string b64 = base64(returned);
    std::string unpadded = b64;
    while (unpadded.back() == '=')
        unpadded.pop_back();
    const std::string broken = b64.substr(0, 20) + "\r\n" + b64.substr(20);
    const std::string tail = "|20261210133000|CFe1|20.61|";
    core::Lines shortReport(headOnly.begin(), headOnly.begin() + 5);
    shortReport.emplace_back(
        "Resposta com 10 campos, menos que os 12 esperados (faltam: CPFCNPJValue, "
        "assinaturaQRCODE).");
    const core::Lines full = fullReport(b64, "", "");
    shortReport.insert(shortReport.end(), full.begin() + 7, full.end());
    struct Case {
        const char* name;
        std::string answer;
        core::Lines lines;
        bool saves;
        std::optional<std::string> message; // the module's message box
    };
    const Case cases[] = {
        {"success", "000001|07000|0000|Cupom cancelado|||" + b64 + tail + "52998224725|qr",
         fullReport(b64, "52998224725", "qr"), true, "Cupom cancelado"},
        {"empty CCCC, accented message: the message is the fourth field",
         "000001|07000||Cancelado com sucesso + conteúdo notas|||" + b64 + tail + "52998224725|qr|",
         fullReport(b64, "52998224725", "qr"), true, "Cancelado com sucesso + conteúdo notas"},
        {"eleven fields: no customer, the signature is field 10",
         "000001|07000|0000|ok|||" + b64 + tail + "qr", fullReport(b64, "", "qr"), true, "ok"},
        {"CR LF inside the Base64, and before a bar",
         "000001|07000|0000|ok|||" + broken + "\r\n" + tail + "52998224725|qr",
         fullReport(b64, "52998224725", "qr"), true, "ok"},
        {"missing padding", "000001|07000|0000|ok|||" + unpadded + tail + "52998224725|qr",
         fullReport(unpadded, "52998224725", "qr"), true, "ok"},
        {"a character foreign to Base64: nothing decoded, nothing saved",
         "000001|07000|0000|ok|||" + b64.substr(0, 8) + "*" + b64.substr(8) + tail +
             "52998224725|qr",
         withNotBase64, false, "ok"},
        {"short answer: a line says what is missing, the document is still saved",
         "000001|07000|0000|ok|||" + b64 + "|20261210133000|CFe1|20.61", shortReport, true, "ok"},
        {"no document field", "000001|07000|0000|ok||",
         core::Lines{"Resposta com 5 campos, menos que os 12 esperados (faltam: mensagemSEFAZ, "
                     "arquivoCFeSAT, timeStamp, chaveConsulta, valorTotalCFe, CPFCNPJValue, "
                     "assinaturaQRCODE): o CFeCanc de retorno não foi salvo."},
         false, "ok"},
        {"error: the raw line only", "000001|07002|0000|Cupom inválido||", {}, false, {}},
        {"empty first field: the code cut finds no 07000",
         "|07000|0000|ok|||" + b64 + tail + "52998224725|qr",
         {},
         false,
         {}},
    };
    for (const Case& c : cases) {
        Page9 page;
        page.field = core::utf8FromPath(page.dir.write("canc.xml", "x"));
        // The file of an earlier success stays unless this answer saves a new one.
        page.dir.write("Retornos/RespCanc_canc.xml", "anterior");
        const core::OperationLogic logic = page.bind(false);
        EXPECT_EQ(reportOf(logic, c.answer), c.lines) << c.name;
        EXPECT_EQ(readText(page.respCanc()), c.saves ? saved : "anterior") << c.name;
        std::vector<std::string> messages;
        if (c.message)
            messages.push_back(*c.message);
        if (c.saves)
            messages.push_back(
                "CFeCanc de retorno salvo na pasta Retornos com nome: RespCanc_canc.xml");
        EXPECT_EQ(logic.takeMessages(), messages) << c.name;
        EXPECT_EQ(logic.writtenFiles(), c.saves ? std::vector{core::utf8FromPath(page.respCanc())}
                                                : std::vector<std::string>{})
            << c.name;
        const auto outcome = logic.savedDocument();
        EXPECT_EQ(outcome && outcome->saved, c.saves) << c.name;
        EXPECT_EQ(outcome.has_value(), c.message.has_value()) << c.name; // success answers only
    }
}

TEST(CancelLastSale, ASaveThatFailsShowsItsErrorAndKeepsTheEarlierFile) {
    Page9 page;
    page.field = core::utf8FromPath(page.dir.write("canc.xml", "x"));
    page.dir.write("Retornos/RespCanc_canc.xml", "anterior");
    // A folder in the way of the temporary file.
    std::filesystem::create_directories(core::temporaryFileFor(page.respCanc()) / "x");
    const core::OperationLogic logic = page.bind(false);
    const std::string answer =
        "000001|07000|0000|ok|||" + base64(returned) + "|20261210133000|CFe1|20.61|52998224725|qr";
    const core::Lines lines = reportOf(logic, answer);
    EXPECT_TRUE(lines.back().starts_with("Não foi possível salvar ")) << lines.back();
    EXPECT_EQ(logic.takeMessages(), std::vector<std::string>{"ok"});
    EXPECT_EQ(logic.writtenFiles(), std::vector<std::string>{});
    EXPECT_EQ(readText(page.respCanc()), "anterior");
}

TEST(CancelLastSale, DocumentModeSendsTheFileWithItsChCanc) {
    Page9 page;
    const std::string document =
        "<?xml version=\"1.0\"?>\r\n<CFeCanc><infCFe chCanc=\"" + key + "\"/></CFeCanc>\r\n";
    page.field = core::utf8FromPath(page.dir.write("canc.xml", document));
    const core::OperationLogic logic = page.bind(false);
    EXPECT_FALSE(logic.refusal());
    EXPECT_EQ(logic.analyse(), core::Lines{});
    const core::PreparedCall call = logic.prepare("000123");
    EXPECT_EQ(call.text, "CancelarUltimaVenda(000123,12345678," + key +
                             ",<?xml version=\"1.0\"?>\n\r<CFeCanc><infCFe chCanc=\"" + key +
                             "\"/></CFeCanc>)");
    ASSERT_EQ(call.arguments.size(), 4u);
    EXPECT_EQ(call.arguments[0].number, 123);
    EXPECT_EQ(call.arguments[2].text, key);
    EXPECT_EQ(call.arguments[3].kind, core::Argument::Kind::Document);
    EXPECT_EQ(call.arguments[3].text,
              "<?xml version=\"1.0\"?>\n\r<CFeCanc><infCFe chCanc=\"" + key + "\"/></CFeCanc>\n\r");

    // Without chCanc the key is empty: nothing between the two commas.
    page.dir.write("canc.xml", "<CFeCanc><infCFe/></CFeCanc>");
    EXPECT_EQ(page.bind(false).prepare("000124").text,
              "CancelarUltimaVenda(000124,12345678,,<CFeCanc><infCFe/></CFeCanc>)");
}

TEST(CancelLastSale, AnalysisFindings) {
    Page9 page;
    const auto empty = page.dir.write("vazio.xml", "");
    const auto issued =
        page.dir.write("Resp_venda.xml", readText(documents_test::fixture("issued_cfe.xml")));
    struct Case {
        const char* name;
        std::string codigo;
        bool issuedMode;
        std::filesystem::path file;
        core::Lines findings;
    };
    const std::string invalid = "Arquivo CFeCanc inválido.";
    const Case cases[] = {
        {"empty code, no file",
         "",
         false,
         page.dir.path() / "nada.xml",
         {"Código de ativação não pode ser nulo",
          "Código de ativação deve ter entre 8 e 32 caracteres", invalid}},
        {"an empty file sends nothing", "12345678", false, empty, {invalid}},
        {"issued CF-e not generated yet", "12345678", true, issued, {invalid}},
    };
    for (const Case& c : cases) {
        core::Inputs inputs;
        inputs.set(core::codigoField.key, c.codigo);
        inputs.set(c.issuedMode ? documents::issuedCFeField.key : documents::cancelFileField.key,
                   core::utf8FromPath(c.file));
        inputs.set(documents::generatedByButtonKey, "1");
        core::OperationContext context;
        context.programFolder = page.dir.path();
        EXPECT_EQ(documents::bindCancelarUltimaVenda(cancelar(), inputs, context).analyse(),
                  c.findings)
            << c.name;
    }
}

// On the page the CFeCanc of an issued CF-e is generated by its button; "Mostrar" refuses while
// there is none, and choosing the file again deletes it. The command line generates it itself.
TEST(CancelLastSale, IssuedCFeModeSendsTheGeneratedCFeCanc) {
    Page9 page;
    page.field = core::utf8FromPath(
        page.dir.write("Resp_venda.xml", readText(documents_test::fixture("issued_cfe.xml"))));
    const auto temp = page.dir.path() / "Temp" / "Canc_Resp_venda.xml";
    EXPECT_EQ(page.bind(true).refusal(), std::string(documents::notGeneratedYet));

    const auto generated =
        documents::generateFromIssuedCFe(page.field, documents::Layout::V007, page.dir.path());
    EXPECT_EQ(generated.key, key);
    const core::OperationLogic logic = page.bind(true);
    EXPECT_FALSE(logic.refusal());
    EXPECT_EQ(logic.analyse(), core::Lines{});
    const core::PreparedCall call = logic.prepare("000125");
    EXPECT_EQ(call.arguments[2].text, key);
    EXPECT_EQ(call.arguments[3].text, generated.document + "\n\r");
    EXPECT_EQ(call.text,
              "CancelarUltimaVenda(000125,12345678," + key + "," + generated.document + ")");

    documents::removeGeneratedCancellation(page.field, page.dir.path());
    EXPECT_FALSE(std::filesystem::exists(temp));
    EXPECT_TRUE(page.bind(true).refusal());

    const core::OperationLogic command = page.bind(true, false);
    EXPECT_FALSE(command.refusal());
    EXPECT_EQ(command.analyse(), core::Lines{});
    EXPECT_EQ(command.prepare("000126").arguments[3].text, generated.document + "\n\r");
    EXPECT_EQ(command.writtenFiles(), std::vector{core::utf8FromPath(temp)});
}

} // namespace
