#include "settings/program_folders.h"

#include "tests/portable.h"

#include <gtest/gtest.h>

#include <map>

namespace {

namespace fs = std::filesystem;

class ProgramFoldersTest : public testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("program_folders_" + std::to_string(portable::processId()));
        fs::create_directories(root);
    }
    void TearDown() override { fs::remove_all(root); }

    settings::ProgramFolders foldersOf(const fs::path& executable) const {
        const auto env = environment;
        return settings::programFolders(executable, [env](std::string_view name) {
            const auto found = env.find(std::string(name));
            return found == env.end() ? std::nullopt : std::optional(found->second);
        });
    }

    fs::path root;
    std::map<std::string, std::string> environment{{"HOME", "/home/ana"}};
};

TEST_F(ProgramFoldersTest, BesideTheExecutableEverythingIsInItsFolder) {
    // A build folder, a copied folder, and a bin/ folder without the installed data beside it.
    for (const fs::path& folder : {root / "build", root / "copy", root / "usr" / "bin"}) {
        const auto folders = foldersOf(folder / "tarvik");
        EXPECT_FALSE(folders.installed) << folder;
        EXPECT_EQ(folders.modules, folder);
        EXPECT_EQ(folders.resources, folder);
        EXPECT_EQ(folders.data, folder);
        EXPECT_EQ(folders.iniFile, folder / "tarvikplus.ini");
        EXPECT_EQ(folders.emulatorState, std::nullopt);
    }
}

#ifdef _WIN32
// Below a Program Files folder the program reads its files where it is and writes only in the
// user's folders; anywhere else it is a portable copy.
TEST_F(ProgramFoldersTest, InstalledUnderProgramFilesTheProgramWritesOnlyInTheUsersFolders) {
    const std::map<std::string, std::string> windows{
        {"ProgramFiles", "C:\\Program Files"},
        {"ProgramW6432", "C:\\Program Files"},
        {"ProgramFiles(x86)", "C:\\Program Files (x86)"},
        {"APPDATA", "C:\\Users\\ana\\AppData\\Roaming"},
        {"LOCALAPPDATA", "C:\\Users\\ana\\AppData\\Local"},
        {"USERPROFILE", "C:\\Users\\ana"}};
    struct Case {
        fs::path executable;
        bool installed;
    };
    const Case cases[] = {
        {"C:\\Program Files\\TarvikPlus\\tarvikplus.exe", true},
        {"C:\\Program Files (x86)\\TarvikPlus\\tarvik.exe", true},
        // Windows names folders without case, and either slash.
        {"c:\\PROGRAM FILES\\TarvikPlus\\integrador_standin.exe", true},
        {"C:/Program Files/TarvikPlus/tarvikplus.exe", true},
        // A folder whose name only begins like Program Files is a portable copy.
        {"C:\\Program Files Portable\\TarvikPlus\\tarvikplus.exe", false},
        {"D:\\TarvikPlus\\tarvikplus.exe", false},
        {"C:\\Users\\ana\\Desktop\\TarvikPlus\\tarvikplus.exe", false},
    };
    for (const auto& c : cases) {
        environment = windows;
        const auto folders = foldersOf(c.executable);
        const fs::path here = c.executable.parent_path();
        EXPECT_EQ(folders.installed, c.installed) << c.executable;
        EXPECT_EQ(folders.modules, here) << c.executable;
        EXPECT_EQ(folders.resources, here) << c.executable;
        if (!c.installed) {
            EXPECT_EQ(folders.data, here) << c.executable;
            EXPECT_EQ(folders.iniFile, here / "tarvikplus.ini") << c.executable;
            EXPECT_EQ(folders.emulatorState, std::nullopt) << c.executable;
            continue;
        }
        const fs::path local = "C:\\Users\\ana\\AppData\\Local\\TarvikPlus";
        EXPECT_EQ(folders.iniFile,
                  fs::path("C:\\Users\\ana\\AppData\\Roaming\\TarvikPlus\\tarvikplus.ini"));
        EXPECT_EQ(folders.data, local);
        EXPECT_EQ(folders.emulatorState, local / "mfe_emulador" / "estado.json");
    }
}

TEST_F(ProgramFoldersTest, InstalledWithoutTheAppDataVariablesTheUsersProfileServes) {
    environment = {{"ProgramFiles", "C:\\Program Files"},
                   {"USERPROFILE", "C:\\Users\\ana"},
                   {"APPDATA", "relative"}};
    const auto folders = foldersOf("C:\\Program Files\\TarvikPlus\\tarvikplus.exe");
    EXPECT_TRUE(folders.installed);
    EXPECT_EQ(folders.iniFile,
              fs::path("C:\\Users\\ana\\AppData\\Roaming\\TarvikPlus\\tarvikplus.ini"));
    EXPECT_EQ(folders.data, fs::path("C:\\Users\\ana\\AppData\\Local\\TarvikPlus"));
}
#else
TEST_F(ProgramFoldersTest, InstalledTheProgramWritesOnlyInTheUsersFolders) {
    const fs::path prefix = root / "usr";
    fs::create_directories(prefix / "share" / "tarvikplus");
    struct Case {
        std::map<std::string, std::string> environment;
        fs::path config, data;
    };
    const Case cases[] = {
        {{{"HOME", "/home/ana"}}, "/home/ana/.config", "/home/ana/.local/share"},
        {{{"HOME", "/home/ana"}, {"XDG_CONFIG_HOME", "/cfg"}, {"XDG_DATA_HOME", "/dados"}},
         "/cfg",
         "/dados"},
        // A relative XDG folder is not one.
        {{{"HOME", "/root"}, {"XDG_CONFIG_HOME", "cfg"}, {"XDG_DATA_HOME", "dados"}},
         "/root/.config",
         "/root/.local/share"},
    };
    // The window and tarvik in bin/, the stand-in beside the emulator.
    for (const fs::path& executable :
         {prefix / "bin" / "tarvikplus", prefix / "lib" / "tarvikplus" / "integrador_standin"}) {
        for (const auto& c : cases) {
            environment = c.environment;
            const auto folders = foldersOf(executable);
            EXPECT_TRUE(folders.installed) << executable;
            EXPECT_EQ(folders.modules, prefix / "lib" / "tarvikplus");
            EXPECT_EQ(folders.resources, prefix / "share" / "tarvikplus");
            EXPECT_EQ(folders.iniFile, c.config / "tarvikplus" / "tarvikplus.ini");
            EXPECT_EQ(folders.data, c.data / "tarvikplus");
            EXPECT_EQ(folders.emulatorState,
                      c.data / "tarvikplus" / "mfe_emulador" / "estado.json");
        }
    }
}
#endif

} // namespace
