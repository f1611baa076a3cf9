#include "settings/ini_file.h"

#include "tests/portable.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

// A file as a Windows program leaves it: CRLF, comments, other sections, a path.
constexpr const char* windowsIni = "; configuração do Tarvik\r\n"
                                   "[Geral]\r\n"
                                   "Pasta=C:\\SAT\\SAT.dll\r\n"
                                   "\r\n"
                                   "[default]\r\n"
                                   "acesso=INTEGRADOR\r\n"
                                   "Outro=1\r\n"
                                   "\r\n"
                                   "[Fim]\r\n"
                                   "X=y\r\n";

class IniFileTest : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("ini_test_" + std::to_string(portable::processId()));
        fs::create_directories(dir);
        path = (dir / "tarvikplus.ini").string();
    }
    void TearDown() override { fs::remove_all(dir); }
    void write(const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
    std::string read() const {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    fs::path dir;
    std::string path;
};

TEST_F(IniFileTest, ReadsWithoutCaseInNamesAndExactlyInValues) {
    write(windowsIni);
    EXPECT_EQ(settings::readProfileString(path, "DEFAULT", "ACESSO"), "INTEGRADOR");
    EXPECT_EQ(settings::readProfileString(path, "geral", "pasta"), "C:\\SAT\\SAT.dll");
    EXPECT_EQ(settings::readProfileString(path, "DEFAULT", "Nada"), std::nullopt);
    write("[DEFAULT]\nACESSO=dll\n");
    EXPECT_EQ(settings::readProfileString(path, "DEFAULT", "ACESSO"), "dll");
}

TEST_F(IniFileTest, MatchingQuotesAroundAValueAreNotPartOfIt) {
    for (const auto& [stored, value] : {std::pair{"\"DLL\"", "DLL"},
                                        {"'DLL'", "DLL"},
                                        {" \"C:\\SAT\\\" ", "C:\\SAT\\"},
                                        {"\"DLL'", "\"DLL'"},
                                        {"\"DLL", "\"DLL"},
                                        {"\"", "\""},
                                        {"\"\"", ""},
                                        {"a\"b\"", "a\"b\""}}) {
        write(std::string("[DEFAULT]\r\nACESSO=") + stored + "\r\n");
        EXPECT_EQ(settings::readProfileString(path, "DEFAULT", "ACESSO"), value) << stored;
    }
}

TEST_F(IniFileTest, RewriteKeepsEverythingElse) {
    write(windowsIni);
    ASSERT_TRUE(settings::writeProfileString(path, "DEFAULT", "ACESSO", "DLL"));
    std::string expected = windowsIni;
    expected.replace(expected.find("acesso=INTEGRADOR"), 17, "acesso=DLL");
    EXPECT_EQ(read(), expected);
}

TEST_F(IniFileTest, CreatesFileSectionAndKey) {
    ASSERT_TRUE(settings::writeProfileString(path, "DEFAULT", "ACESSO", "INTEGRADOR"));
    EXPECT_EQ(read(), "[DEFAULT]\r\nACESSO=INTEGRADOR\r\n");

    write("[Outra]\nA=1\n");
    ASSERT_TRUE(settings::writeProfileString(path, "DEFAULT", "ACESSO", "DLL"));
    EXPECT_EQ(read(), "[Outra]\nA=1\n\n[DEFAULT]\nACESSO=DLL\n");

    write("[DEFAULT]\r\nOutro=1\r\n\r\n[B]\r\n");
    ASSERT_TRUE(settings::writeProfileString(path, "DEFAULT", "ACESSO", "DLL"));
    EXPECT_EQ(read(), "[DEFAULT]\r\nOutro=1\r\nACESSO=DLL\r\n\r\n[B]\r\n");
}

TEST_F(IniFileTest, UnwritableFolderFailsWithoutTouchingAnything) {
    const std::string missing = (dir / "no_such_folder" / "x.ini").string();
    EXPECT_FALSE(settings::writeProfileString(missing, "DEFAULT", "ACESSO", "DLL"));
    EXPECT_FALSE(fs::exists(dir / "no_such_folder"));
}

TEST_F(IniFileTest, FileThatCannotBeReadIsNeverReplaced) {
    const std::string huge(2 << 20, ';'); // far beyond any profile file
    write("[DEFAULT]\r\nACESSO=DLL\r\n" + huge);
    EXPECT_EQ(settings::readProfileString(path, "DEFAULT", "ACESSO"), std::nullopt);
    EXPECT_FALSE(settings::writeProfileString(path, "DEFAULT", "ACESSO", "INTEGRADOR"));
    EXPECT_EQ(read().size(), 23 + huge.size());
}

} // namespace
