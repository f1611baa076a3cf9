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

TEST_F(ProgramFoldersTest, InstalledTheProgramWritesOnlyInTheUsersFolders) {
#ifdef _WIN32
    GTEST_SKIP() << "the Linux installation layout (bin/, lib/, share/); on Windows the program "
                    "folder is the installation";
#endif
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

} // namespace
