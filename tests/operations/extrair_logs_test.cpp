#include "operations/extrair_logs.h"

#include "core/catalogue.h"
#include "registry/definitions.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using core::Lines;

const std::string heading(operations::logHeading);
const std::string closing(operations::logClosingLine);

std::string answerWith(const std::string& code, const std::string& base64) {
    return "000321|" + code + "|Transferência completa|||" + base64;
}

TEST(ExtrairLogs, LogSection) {
    // "linha 1\r\nlinha 2" and other logs in Base64 as modules send them.
    struct Case {
        const char* what;
        std::string answer;
        Lines report;
    };
    const std::string twoLines = "bGluaGEgMQ0KbGluaGEgMg=="; // "linha 1\r\nlinha 2"
    const Case cases[] = {
        {"two-line log",
         answerWith("15000", twoLines),
         {"", heading, "linha 1", "linha 2", "", closing}},
        {"CR LF inside the Base64 (a field break, joined back)",
         answerWith("15000", "bGluaGEgMQ0KbGlu\r\naGEgMg=="),
         {"", heading, "linha 1", "linha 2", "", closing}},
        {"missing padding",
         answerWith("15000", "bGluaGEgMQ0KbGluaGEgMg"),
         {"", heading, "linha 1", "linha 2", "", closing}},
        {"LF-only log", answerWith("15000", "YQpiCg=="), {"", heading, "a", "b", "", closing}},
        {"a foreign character: no section", answerWith("15000", "bGluaGEg*MQ=="), {}},
        {"data after the padding: no section", answerWith("15000", "YQ==YQ=="), {}},
        {"invalid UTF-8 becomes U+FFFD, the rest intact",
         answerWith("15000", "b2zhIG11bmRvCsOnw6MK"), // "ol\xE1 mundo\nçã\n"
         {"", heading, "ol\xEF\xBF\xBD mundo", "çã", "", closing}},
        {"an error code: raw line only", "000321|15001|Código de ativação inválido||", {}},
        {"success without a log field",
         "000321|15000|Transferência completa||",
         {"", heading, "", closing}},
    };
    for (const Case& c : cases) {
        Lines report;
        operations::logReport(c.answer, report);
        EXPECT_EQ(report, c.report) << c.what;
    }
}

TEST(ExtrairLogs, SaidaWritesTheDecodedBytes) {
    const auto folder = std::filesystem::temp_directory_path() / "tarvik-extrair-logs-test";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const auto& op = *core::operationByName("ExtrairLogs");
    const auto bindWith = [&](const std::string& saida) {
        core::Inputs inputs;
        inputs.set("codigo", "12345678");
        inputs.set("saida", saida);
        return registry::definitionOf(op)->bind(op, inputs, {});
    };

    const std::string file = (folder / "log.txt").string();
    auto logic = bindWith(file);
    Lines report;
    logic.report(answerWith("15000", "b2zhIG11bmRvCsOnw6MK"), report);
    EXPECT_EQ(logic.writtenFiles(), std::vector<std::string>{file});
    ASSERT_TRUE(logic.savedDocument());
    EXPECT_TRUE(logic.savedDocument()->saved);
    std::ifstream in(file, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    in.close(); // Windows removes no file that is open
    EXPECT_EQ(bytes.str(), "ol\xE1 mundo\n\xC3\xA7\xC3\xA3\n"); // unchanged, not replaced

    // A file that cannot be written is said after the section.
    auto unwritable = bindWith((folder / "absent" / "log.txt").string());
    report.clear();
    unwritable.report(answerWith("15000", "YQ=="), report);
    ASSERT_EQ(report.size(), 6u);
    EXPECT_EQ(report.back().rfind("Não foi possível gravar o log em ", 0), 0u) << report.back();
    EXPECT_TRUE(unwritable.writtenFiles().empty());
    // The command line reads these for its exit status 4 and "saved": false.
    ASSERT_TRUE(unwritable.savedDocument());
    EXPECT_FALSE(unwritable.savedDocument()->saved);
    EXPECT_EQ(unwritable.savedDocument()->reason, report.back());

    // A success answer whose log is not Base64 has nothing to write: not saved either; another
    // code brings no log to save.
    auto garbled = bindWith(file);
    report.clear();
    garbled.report(answerWith("15000", "%%%"), report);
    ASSERT_TRUE(garbled.savedDocument());
    EXPECT_FALSE(garbled.savedDocument()->saved);
    auto refused = bindWith(file);
    refused.report(answerWith("15001", "YQ=="), report);
    EXPECT_FALSE(refused.savedDocument());
    std::filesystem::remove_all(folder);
}

} // namespace
