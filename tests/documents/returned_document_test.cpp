#include "core/answer_cuts.h"
#include "core/whole_file.h"
#include "documents/returned_document.h"
#include "tests/documents/base64_encoder.h"
#include "tests/documents/documents_test_support.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

using documents_test::TempDir;
using Fields = std::vector<std::string>;

TEST(DocumentFields, LineBreaksNeitherSplitTheDocumentNorShiftLaterFields) {
    struct Case {
        const char* name;
        std::string answer;
        Fields fields;
    };
    const Case cases[] = {
        {"CR LF inside the Base64",
         "1|06000|0000|ok|||QUJD\r\nREVG|2026|CFe1|",
         {"1", "06000", "0000", "ok", "", "", "QUJDREVG", "2026", "CFe1"}},
        {"line break before a bar",
         "1|09000|ok|||QUJD\r\n|2026|CFe1\r\n",
         {"1", "09000", "ok", "", "", "QUJD", "2026", "CFe1"}},
        {"empty fields count, a final empty piece does not",
         "1|06001|x||",
         {"1", "06001", "x", ""}},
        {"no bars", "erro", {"erro"}},
        {"empty answer", "", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(documents::documentFields(c.answer), c.fields) << c.name;
}

TEST(DocumentFields, AnAnswerWithoutLineBreaksGivesTheFieldList) {
    for (const std::string answer : {"123|06000|0000|Emitido|||QUJD|20260101|CFe35|1.00|111|sig",
                                     "123|07000||Cancelado||", "|09000|ok", "1|2|3|"})
        EXPECT_EQ(documents::documentFields(answer), core::fieldList(answer)) << answer;
}

TEST(DecodeReturnedDocument, LinesOfTheDecodedBytesOrNothing) {
    using documents::DocumentLines;
    const std::string issued = "<?xml version=\"1.0\"?>\r\n<CFe>\n<x>S\xc3\xa3o</x></CFe>";
    EXPECT_EQ(documents::decodeReturnedDocument(documents_test::base64(issued)),
              (DocumentLines{"<?xml version=\"1.0\"?>", "<CFe>", "<x>S\xc3\xa3o</x></CFe>"}));
    EXPECT_EQ(documents::decodeReturnedDocument(documents_test::base64("<CFe/>\r\n")),
              DocumentLines{"<CFe/>"});
    EXPECT_EQ(documents::decodeReturnedDocument("PENGZS8+%"), std::nullopt);
}

TEST(SavedForm, EveryLineEndsInCrLfWithoutByteOrderMark) {
    EXPECT_EQ(documents::savedForm({"<CFe/>"}), "<CFe/>\r\n");
    EXPECT_EQ(documents::savedForm({"a", "", "b"}), "a\r\n\r\nb\r\n");
    EXPECT_EQ(documents::savedForm({}), "");
}

TEST(SaveReturnedDocument, CreatesRetornosAndReplacesTheFileWhole) {
    TempDir dir;
    const auto target = documents::retornosFile(dir.path(), "Resp_venda.xml");
    EXPECT_EQ(target, dir.path() / "Retornos" / "Resp_venda.xml");
    std::string error;
    ASSERT_TRUE(documents::saveReturnedDocument(target, {"old"}, error)) << error;
    ASSERT_TRUE(documents::saveReturnedDocument(target, {"<CFe>", "</CFe>"}, error)) << error;
    EXPECT_EQ(documents_test::readText(target), "<CFe>\r\n</CFe>\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(target.parent_path()),
                            std::filesystem::directory_iterator()),
              1)
        << "no temporary file left behind";
}

// A save that cannot complete reports why and leaves the previous file as it was.
void expectFailedSaveKeepsThePreviousFile(void (*placeObstacle)(const std::filesystem::path&)) {
    TempDir dir;
    const auto target = documents::retornosFile(dir.path(), "Resp_CFeFimAFim.xml");
    std::string error;
    ASSERT_TRUE(documents::saveReturnedDocument(target, {"good"}, error)) << error;
    placeObstacle(target);
    EXPECT_FALSE(documents::saveReturnedDocument(target, {"new"}, error));
    EXPECT_NE(error.find("Resp_CFeFimAFim.xml"), std::string::npos) << error;
    EXPECT_EQ(documents_test::readText(target), "good\r\n");
    std::filesystem::permissions(target.parent_path(), std::filesystem::perms::owner_all);
}

// A read-only Retornos: the save runs in a child process that, when the tests run as root, first
// gives up root, since folder permissions do not stop root's writes.
TEST(SaveReturnedDocument, ReadOnlyRetornosKeepsThePreviousFile) {
#ifdef _WIN32
    GTEST_SKIP() << "a read-only folder is tried in a child that gives up root: POSIX only";
#else
    TempDir dir;
    const auto target = documents::retornosFile(dir.path(), "Resp_CFeFimAFim.xml");
    std::string error;
    ASSERT_TRUE(documents::saveReturnedDocument(target, {"good"}, error)) << error;
    namespace fs = std::filesystem;
    fs::permissions(dir.path(), fs::perms::owner_all | fs::perms::group_read |
                                    fs::perms::group_exec | fs::perms::others_read |
                                    fs::perms::others_exec);
    fs::permissions(target.parent_path(), fs::perms::owner_read | fs::perms::owner_exec |
                                              fs::perms::group_read | fs::perms::group_exec |
                                              fs::perms::others_read | fs::perms::others_exec);
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        constexpr uid_t nobody = 65534;
        if (geteuid() == 0 && (setgid(nobody) != 0 || setuid(nobody) != 0))
            _exit(3);
        std::string childError;
        const bool saved = documents::saveReturnedDocument(target, {"new"}, childError);
        const bool named = childError.find("Resp_CFeFimAFim.xml") != std::string::npos;
        _exit(saved ? 0 : named ? 1 : 2);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1) << "0: saved anyway, 2: error without the file's name, "
                                         "3: could not give up root";
    EXPECT_EQ(documents_test::readText(target), "good\r\n");
    fs::permissions(target.parent_path(), fs::perms::owner_all);
#endif
}

TEST(SaveReturnedDocument, AnUnwritableTemporaryFileKeepsThePreviousFile) {
    expectFailedSaveKeepsThePreviousFile([](const std::filesystem::path& target) {
        std::filesystem::create_directories(core::temporaryFileFor(target) / "x");
    });
}

} // namespace
