// The sale and end-to-end reports over answers as modules send them, and what their "Analisar"
// and "Mostrar" make of the user's file. Every case starts with a good file already saved, so a
// case that must save nothing shows that the good file survives.

#include "core/catalogue.h"
#include "core/path_text.h"
#include "core/whole_file.h"
#include "documents/end_to_end.h"
#include "documents/end_to_end_sample.h"
#include "documents/sale.h"
#include "tests/documents/base64_encoder.h"
#include "tests/documents/documents_test_support.h"

#include <gtest/gtest.h>

namespace {

using documents_test::base64;
using documents_test::readText;
using documents_test::TempDir;

const std::string issued = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                           "<CFe><infCFe Id=\"CFe35261212345678000195590000000010000011234\">"
                           "<xProd>P\xc3\xa3o de a\xc3\xa7\xc3\xba"
                           "car</xProd></infCFe></CFe>";
const std::string issuedSaved = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                                "<CFe><infCFe Id=\"CFe35261212345678000195590000000010000011234\">"
                                "<xProd>P\xc3\xa3o de a\xc3\xa7\xc3\xba"
                                "car</xProd></infCFe></CFe>\r\n";
const std::string goodFile = "<CFe>anterior</CFe>\r\n";
const std::string key = "CFe35261212345678000195590000000010000011234";

// The Base64 text of `issued` with CR LF every 76 characters, as some modules send it.
std::string brokenIntoLines(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); i += 76)
        out += text.substr(i, 76) + "\r\n";
    return out;
}

std::string unpadded(std::string text) {
    while (!text.empty() && text.back() == '=')
        text.pop_back();
    return text;
}

struct Case {
    const char* name;
    std::string answer;
    bool saved;                     // the returned CF-e replaced the good file
    std::vector<std::string> lines; // lines the report must hold (all of them when `exact`)
    bool exact = false;
    std::vector<std::string> messages = {};
};

struct ReportRun {
    documents::DocumentOutcome outcome;
    core::Lines lines;
    std::string file;
};

template <typename Report>
ReportRun runReport(Report report, const std::string& answer, const std::string& fileName) {
    TempDir dir;
    const auto target = documents::retornosFile(dir.path(), fileName);
    dir.write("Retornos/" + fileName, goodFile);
    ReportRun run;
    report(answer, target, run.outcome, run.lines);
    run.file = readText(target);
    return run;
}

template <typename Report>
void check(Report report, const std::vector<Case>& cases, const std::string& fileName,
           const std::string& savedMessage) {
    for (const Case& c : cases) {
        const ReportRun run = runReport(report, c.answer, fileName);
        EXPECT_EQ(run.file, c.saved ? issuedSaved : goodFile) << c.name;
        std::vector<std::string> messages = c.messages;
        if (c.saved)
            messages.push_back(savedMessage);
        EXPECT_EQ(run.outcome.messages, messages) << c.name;
        EXPECT_EQ(run.outcome.writtenFiles.size(), c.saved ? 1u : 0u) << c.name;
        // What the command line's exit status and --json read: saved, or the reason it was not,
        // which the report ends with.
        EXPECT_EQ(run.outcome.saved && run.outcome.saved->saved, c.saved) << c.name;
        if (run.outcome.saved && !run.outcome.saved->saved) {
            ASSERT_FALSE(run.lines.empty()) << c.name;
            EXPECT_EQ(run.outcome.saved->reason, run.lines.back()) << c.name;
        }
        if (c.exact) {
            EXPECT_EQ(run.lines, c.lines) << c.name;
            continue;
        }
        for (const auto& line : c.lines)
            EXPECT_NE(std::find(run.lines.begin(), run.lines.end(), line), run.lines.end())
                << c.name << ": no line \"" << line << "\"";
    }
}

std::string sale(const std::string& documentField, const std::string& tail = "|111|QR") {
    return "123456|06000|0000|Emitido com sucesso + conteúdo notas|||" + documentField +
           "|20261210133023|" + key + "|21.11" + tail;
}

TEST(SaleReport, AnswersAsModulesSendThem) {
    const std::string b64 = base64(issued);
    // The information lines, then the closing line and the document's sections.
    const auto withDocument = [&b64](std::vector<std::string> lines) {
        lines.insert(lines.end(),
                     {"------------------------------------------------------", "",
                      "---- XML do CFe emitido em BASE64 -------------------", b64,
                      "-----------------------------------------------------", "",
                      "---- XML do CFe emitido -----------------------------",
                      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>",
                      "<CFe><infCFe Id=\"" + key + "\"><xProd>Pão de açúcar</xProd></infCFe></CFe>",
                      "-----------------------------------------------------"});
        return lines;
    };
    const std::vector<Case> cases = {
        {"success", sale(b64), true,
         withDocument({"", "---- Informações do CFe emitido ----------------------",
                       "Data_Hora da emissão: 20261210133023", "Chave de Consulta: " + key,
                       "Total da CFe: 21.11", "CPF_CNPJ do Cliente: 111", "Assinatura QRCODE: QR"}),
         true},
        {"error: raw line only",
         "123456|06001|0000|Código de ativação inválido||",
         false,
         {},
         true},
        {"empty first field: the code is the third field",
         "|06000|0000|Emitido|||" + b64 + "|2026|" + key + "|1|2|3",
         false,
         {},
         true},
        {"CR LF inside the Base64 and before a bar",
         sale(brokenIntoLines(b64)),
         true,
         {"Chave de Consulta: " + key, "Assinatura QRCODE: QR"}},
        {"missing padding", sale(unpadded(b64)), true, {"Total da CFe: 21.11"}},
        {"foreign character",
         sale(b64.substr(0, 8) + "*" + b64.substr(8)),
         false,
         {std::string(documents::notBase64Line)}},
        // A short answer still brings the issued CF-e: it is saved, and a line says what is
        // missing.
        {"short answer: fields 0 to 9",
         "1|06000|0000|ok|||" + b64 + "|20261210133023|" + key + "|21.11", true,
         withDocument({"", "---- Informações do CFe emitido ----------------------",
                       "Data_Hora da emissão: 20261210133023", "Chave de Consulta: " + key,
                       "Total da CFe: 21.11",
                       "Resposta com 10 campos, menos que os 12 esperados (faltam: CPFCNPJValue, "
                       "assinaturaQRCODE)."}),
         true},
        {"short answer: without the QR-code signature",
         sale(b64, "|111"),
         true,
         {"CPF_CNPJ do Cliente: 111",
          "Resposta com 11 campos, menos que os 12 esperados (faltam: assinaturaQRCODE)."}},
        {"short answer: not Base64",
         "1|06000|0000|ok|||%%%|20261210133023",
         false,
         {"Resposta com 8 campos, menos que os 12 esperados (faltam: chaveConsulta, "
          "valorTotalCFe, CPFCNPJValue, assinaturaQRCODE).",
          std::string(documents::notBase64Line)}},
        {"no document field",
         "1|06000|0000|ok||",
         false,
         {"Resposta com 5 campos, menos que os 12 esperados (faltam: mensagemSEFAZ, "
          "arquivoCFeSAT, timeStamp, chaveConsulta, valorTotalCFe, CPFCNPJValue, "
          "assinaturaQRCODE): o CFe de retorno não foi salvo."},
         true},
    };
    check(documents::saleReport, cases, "Resp_venda.xml",
          "CFe de retorno salvo na pasta Retornos com nome: Resp_venda.xml");
}

std::string endToEnd(const std::string& documentField) {
    return "123456|09000|Emitido com sucesso|||" + documentField + "|20261210133023|12|" + key;
}

TEST(EndToEndReport, AnswersAsModulesSendThem) {
    const std::string b64 = base64(issued);
    const std::string ok = "Emitido com sucesso";
    const std::vector<Case> cases = {
        {"success",
         endToEnd(b64),
         true,
         {"", "---- CFe de retorno ----------------------------------",
          "<?xml version=\"1.0\" encoding=\"UTF-8\"?>",
          "<CFe><infCFe Id=\"" + key + "\"><xProd>Pão de açúcar</xProd></infCFe></CFe>",
          "------------------------------------------------------"},
         true,
         {ok}},
        {"error: raw line only", "123456|09001|Código de ativação inválido||", false, {}, true},
        {"empty first field: the code is the third field",
         "|09000|ok|||" + b64 + "|1|2|3",
         false,
         {},
         true},
        {"CR LF inside the Base64", endToEnd(brokenIntoLines(b64)), true, {}, false, {ok}},
        {"missing padding", endToEnd(unpadded(b64)), true, {}, false, {ok}},
        {"foreign character",
         endToEnd(b64 + "\xc3\xa7"),
         false,
         {std::string(documents::notBase64Line)},
         false,
         {ok}},
        {"short answer: 5 fields",
         "123456|09000|Emitido com sucesso|||",
         false,
         {"Resposta com 5 campos, menos que os 9 esperados: o CFe de retorno não foi salvo."},
         true,
         {ok}},
        {"code alone",
         "1|09000",
         false,
         {"Resposta com 2 campos, menos que os 9 esperados: o CFe de retorno não foi salvo."},
         true},
    };
    check(documents::endToEndReport, cases, "Resp_CFeFimAFim.xml",
          "CFe de retorno salvo na pasta Retornos");
}

TEST(FiscalReports, AFailedSaveShowsWhyAndNoSalvo) {
    for (const std::string fileName : {"Resp_venda.xml", "Resp_CFeFimAFim.xml"}) {
        TempDir dir;
        dir.write("Retornos/" + fileName, goodFile);
        const auto target = documents::retornosFile(dir.path(), fileName);
        std::filesystem::create_directories(core::temporaryFileFor(target) / "x");
        documents::DocumentOutcome outcome;
        core::Lines lines;
        if (fileName == "Resp_venda.xml")
            documents::saleReport(sale(base64(issued)), target, outcome, lines);
        else
            documents::endToEndReport(endToEnd(base64(issued)), target, outcome, lines);
        EXPECT_EQ(readText(target), goodFile);
        EXPECT_TRUE(outcome.writtenFiles.empty());
        for (const auto& message : outcome.messages)
            EXPECT_EQ(message.find("salvo"), std::string::npos) << message;
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back().rfind("Não foi possível salvar ", 0), 0u) << lines.back();
    }
}

TEST(FiscalReports, AnEmptyReturnedDocumentReplacesNothing) {
    const ReportRun run = runReport(documents::endToEndReport, endToEnd(""), "Resp_CFeFimAFim.xml");
    EXPECT_EQ(run.file, goodFile);
    ASSERT_FALSE(run.lines.empty());
    EXPECT_NE(run.lines.back().find("veio vazio"), std::string::npos);
}

// What "Analisar" and "Mostrar" of the two pages make of the fields.
class DocumentPagesLogic : public ::testing::Test {
protected:
    TempDir dir;
    core::OperationContext context{dir.path(), "0.07", nullptr};

    core::Inputs inputs(const std::string& codigo, const std::string& arquivo) {
        core::Inputs in;
        in.set("codigo", codigo);
        in.set("arquivo", arquivo);
        return in;
    }
};

TEST_F(DocumentPagesLogic, SaleAnalysisFindsCodeAndFileInOrder) {
    const auto& venda = *core::operationByName("EnviarDadosVenda");
    EXPECT_EQ(documents::bindEnviarDadosVenda(venda, inputs("", ""), context).analyse(),
              (core::Lines{"Código de ativação não pode ser nulo",
                           "Código de ativação deve ter entre 8 e 32 caracteres",
                           "Arquivo CFe inválido."}));
    const auto file = dir.write("venda.xml", "<CFe/>");
    EXPECT_EQ(documents::bindEnviarDadosVenda(venda, inputs("12345678", core::utf8FromPath(file)),
                                              context)
                  .analyse(),
              core::Lines{});
}

TEST_F(DocumentPagesLogic, TheFileGoesOutAsItsBytesWithLfCrAfterEveryLine) {
    const auto file = dir.write("venda.xml", "<?xml version=\"1.0\"?>\r\n<CFe>"
                                             "<xProd>Caf\xc3\xa9</xProd>\r\n</CFe>\r\n");
    for (const char* name : {"EnviarDadosVenda", "TesteFimAFim"}) {
        const auto& operation = *core::operationByName(name);
        const auto in = inputs(" 12345678 ", core::utf8FromPath(file));
        auto logic = std::string(name) == "TesteFimAFim"
                         ? documents::bindTesteFimAFim(operation, in, context)
                         : documents::bindEnviarDadosVenda(operation, in, context);
        const core::PreparedCall call = logic.prepare("000042");
        ASSERT_EQ(call.arguments.size(), 3u);
        EXPECT_EQ(call.arguments[1].text, "12345678");
        EXPECT_EQ(call.arguments[2].kind, core::Argument::Kind::Document);
        EXPECT_EQ(call.arguments[2].text,
                  "<?xml version=\"1.0\"?>\n\r<CFe><xProd>Caf\xc3\xa9</xProd>\n\r</CFe>\n\r");
        EXPECT_EQ(call.text, std::string(name) + "(000042,12345678,<?xml version=\"1.0\"?>\n\r<CFe>"
                                                 "<xProd>Caf\xc3\xa9</xProd>\n\r</CFe>)");
        EXPECT_EQ(logic.takeMessages(), std::vector<std::string>{});
    }
}

TEST_F(DocumentPagesLogic, WithoutAFileTheSaleIsEmptyAndTheTestSendsTheSample) {
    const auto missing = core::utf8FromPath(dir.path() / "sumiu.xml");
    auto saleLogic = documents::bindEnviarDadosVenda(*core::operationByName("EnviarDadosVenda"),
                                                     inputs("12345678", missing), context);
    const auto saleCall = saleLogic.prepare("000001");
    EXPECT_EQ(saleCall.arguments[2].text, "");
    EXPECT_EQ(saleCall.text, "EnviarDadosVenda(000001,12345678,)");
    EXPECT_EQ(saleLogic.takeMessages(), std::vector<std::string>{});

    auto testLogic = documents::bindTesteFimAFim(*core::operationByName("TesteFimAFim"),
                                                 inputs("12345678", missing), context);
    EXPECT_EQ(testLogic.analyse(), core::Lines{});
    const auto testCall = testLogic.prepare("000002");
    EXPECT_EQ(testCall.arguments[2].text, documents::sampleSale());
    EXPECT_EQ(testLogic.takeMessages(), std::vector<std::string>{"Usando XML FimAFim Padrão"});
    EXPECT_EQ(testLogic.takeMessages(), std::vector<std::string>{}) << "taken once";
}

// With the build's default registrations.
TEST(SampleSale, OneLineWithTheElementsOfTheTestSaleInOrder) {
    EXPECT_EQ(
        documents::sampleSale(),
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><CFe><infCFe versaoDadosEnt=\"0.06\"><ide>"
        "<CNPJ>16716114000172</CNPJ><signAC>SGR-SAT SISTEMA DE GESTAO E RETAGUARDA DO SAT"
        "</signAC><numeroCaixa>099</numeroCaixa></ide><emit><CNPJ>12345678000195</CNPJ>"
        "<IE>111111111111</IE><cRegTribISSQN>1</cRegTribISSQN><indRatISSQN>N</indRatISSQN></emit>"
        "<dest><CNPJ>16716114000172</CNPJ></dest><det nItem=\"1\"><prod><cProd>001</cProd>"
        "<xProd>MiniPc Vexor</xProd><CFOP>5001</CFOP><uCom>UN</uCom><qCom>1.0000</qCom>"
        "<vUnCom>654.320</vUnCom><indRegra>A</indRegra></prod><imposto>"
        "<vItem12741>1.00</vItem12741><ICMS><ICMS00><Orig>0</Orig><CST>00</CST>"
        "<pICMS>12.00</pICMS></ICMS00></ICMS><PIS><PISAliq><CST>01</CST><vBC>654.32</vBC>"
        "<pPIS>0.0600</pPIS></PISAliq></PIS><COFINS><COFINSAliq><CST>01</CST><vBC>654.32</vBC>"
        "<pCOFINS>0.0400</pCOFINS></COFINSAliq></COFINS></imposto></det><total>"
        "<vCFeLei12741>1.00</vCFeLei12741></total><pgto><MP><cMP>01</cMP><vMP>2000.00</vMP>"
        "</MP></pgto></infCFe></CFe>");
}

} // namespace
