// The document a journalled call's receipt is printed from: the file the call wrote while it
// holds what was written, else the Base64 document in the recorded answer, and a reason when
// neither is there.

#include "journal/recorded_document.h"
#include "journal/sha256.h"
#include "tests/documents/base64_encoder.h"
#include "tests/journal/journal_fixture.h"

#include <fstream>

namespace {

using namespace journal_test;

const std::string written = "<CFe>como gravado</CFe>\r\n";
const std::string answered = "<CFe>da resposta</CFe>";

std::string saleAnswer(const std::string& document) {
    return "7|06000|0000|Emitido com sucesso + conteúdo notas.|||" +
           documents_test::base64(document) +
           "|20261211143005|CFe35261211111111111111591234567890001234567890|10.00||Qr==";
}

enum class FileState { matches, changed, missing, none };

struct Case {
    const char* name;
    FileState file;
    std::string answer;
    std::string bytes; // expected; empty: no document
    bool fromFile;
    std::string reason; // found in the note (document found) or the error
};

class RecordedDocumentTest : public ::testing::TestWithParam<Case> {};

TEST_P(RecordedDocumentTest, TakesTheFileWhileItMatchesElseTheAnswer) {
    const Case& c = GetParam();
    const fs::path folder = freshFolder();
    const fs::path file = folder / "Retornos" / "Resp_venda.xml";
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << written;

    journal::CallEntry sale = call("EnviarDadosVenda", c.answer);
    sale.startLocal = "2026-12-10 14:30:05 -0300";
    if (c.file != FileState::none)
        sale.files = {{file.string(), journal::fileSha256(file)}};
    if (c.file == FileState::changed)
        std::ofstream(file, std::ios::binary) << "<CFe>editado</CFe>";
    if (c.file == FileState::missing)
        fs::remove(file);

    const journal::RecordedDocument recorded = journal::recordedDocument(sale);
    EXPECT_EQ(recorded.bytes.value_or(""), c.bytes);
    EXPECT_EQ(!recorded.file.empty(), c.fromFile);
    const std::string answerOrigin = "resposta registrada da chamada de 2026-12-10 14:30:05 -0300";
    if (recorded.bytes) {
        EXPECT_EQ(recorded.origin, c.fromFile ? file.string() : answerOrigin);
    }
    const std::string& said = recorded.bytes ? recorded.note : recorded.error;
    EXPECT_NE(said.find(c.reason), std::string::npos) << said;
    fs::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RecordedDocumentTest,
    ::testing::Values(
        Case{"fileMatches", FileState::matches, saleAnswer(answered), written, true, ""},
        Case{"fileChanged", FileState::changed, saleAnswer(answered), answered, false,
             "Resp_venda.xml: o arquivo mudou desde a chamada"},
        Case{"fileMissing", FileState::missing, saleAnswer(answered), answered, false,
             "Resp_venda.xml: o arquivo não existe mais"},
        Case{"noFileWritten", FileState::none, saleAnswer(answered), answered, false, ""},
        Case{"refusedSaleWithoutDocument", FileState::none, "7|06001|1999|Código inválido|||", "",
             false,
             "A resposta registrada da chamada de 2026-12-10 14:30:05 -0300 não traz o "
             "documento emitido."},
        Case{"answerNotBase64AndFileChanged", FileState::changed,
             "7|06000|0000|ok|||não é base64|20261211143005|CFe1|1.00||Qr==", "", false,
             "não traz o documento emitido ("},
        Case{"answerWithAnEmptyDocument", FileState::missing,
             "7|06000|0000|ok|||||20261211143005|CFe1|1.00||Qr==", "", false,
             "o arquivo não existe mais)."}),
    [](const auto& row) { return std::string(row.param.name); });

// An end-to-end test's document is field 5 up to the three fields after it, and some modules
// split its Base64 text at "|"; a cancellation's is field 6, as a sale's.
TEST(RecordedDocument, ReadsEachOperationsDocumentField) {
    const std::string base64 = documents_test::base64(answered);
    const std::string half = base64.substr(0, 8);
    const std::string rest = base64.substr(8);
    const std::pair<journal::CallEntry, std::string> cases[] = {
        {call("TesteFimAFim", "3|09000|Emitido com sucesso|||" + base64 + "|20261211|1|CFe1"),
         answered},
        {call("TesteFimAFim", "3|09000|ok|||" + half + "|" + rest + "|20261211|1|CFe1"), answered},
        {call("TesteFimAFim", "3|09000|ok|||" + base64 + "|20261211|1"), ""},
        {call("CancelarUltimaVenda",
              "4|07000|0000|Cupom cancelado com sucesso|||" + base64 + "|20261211|CFe1|1.00||Q"),
         answered},
    };
    for (const auto& [entry, expected] : cases)
        EXPECT_EQ(journal::recordedDocument(entry).bytes.value_or(""), expected) << entry.answer;
}

TEST(RecordedDocument, OnlyDocumentOperationsCarryOne) {
    for (const char* name : {"EnviarDadosVenda", "CancelarUltimaVenda", "TesteFimAFim"})
        EXPECT_TRUE(journal::carriesIssuedDocument(name)) << name;
    for (const char* name : {"ConsultarSAT", "ConsultarStatusOperacional", "ExtrairLogs", ""})
        EXPECT_FALSE(journal::carriesIssuedDocument(name)) << name;
}

} // namespace
