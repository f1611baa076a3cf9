#include "access/library_choice.h"

#include "core/path_text.h"
#include "settings/program_info.h"
#include "tests/portable.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

class LibraryChoiceTest : public testing::Test {
protected:
    void SetUp() override {
        dir =
            fs::temp_directory_path() / ("library_choice_" + std::to_string(portable::processId()));
        fs::create_directories(dir / "modules");
        ini = core::utf8FromPath(dir / "tarvikplus.ini");
    }
    void TearDown() override { fs::remove_all(dir); }
    void write(const std::string& text) { std::ofstream(ini, std::ios::binary) << text; }
    backend::LibraryChoice chosen() const { return backend::chosenLibrary(ini, dir / "modules"); }
    fs::path dir;
    std::string ini;
};

// What the INI file holds decides the file; a key that names nothing leaves the fixed name.
TEST_F(LibraryChoiceTest, theIniNamesTheLibraryOrLeavesTheFixedName) {
    const fs::path absolute = dir / "fabricante" / "libfab.so";
    struct Case {
        std::string ini;
        fs::path file;
        bool chosen;
    } cases[] = {
        {"", dir / "modules" / TARVIK_LIBRARY_NAME, false},
        {"[DEFAULT]\r\nACESSO=DLL\r\n", dir / "modules" / TARVIK_LIBRARY_NAME, false},
        {"[DEFAULT]\r\nBIBLIOTECA=\r\n", dir / "modules" / TARVIK_LIBRARY_NAME, false},
        {"[DEFAULT]\r\nBIBLIOTECA=libfab.so\r\n", dir / "modules" / "libfab.so", true},
        {"[default]\r\nbiblioteca=\"" + core::utf8FromPath(absolute) + "\"\r\n", absolute, true},
        {"[Outra]\r\nBIBLIOTECA=libfab.so\r\n", dir / "modules" / TARVIK_LIBRARY_NAME, false},
    };
    for (const Case& c : cases) {
        write(c.ini);
        EXPECT_EQ(chosen().file, c.file) << c.ini;
        EXPECT_EQ(chosen().chosen, c.chosen) << c.ini;
    }
}

TEST_F(LibraryChoiceTest, aStoredChoiceIsAbsoluteAndAnEmptyOneGoesBackToTheFixedName) {
    write("[DEFAULT]\r\nACESSO=DLL\r\n");
    const fs::path relative = "pasta/libfab.so";
    ASSERT_TRUE(backend::storeLibraryChoice(ini, relative));
    EXPECT_EQ(chosen().file, fs::absolute(relative));
    EXPECT_TRUE(chosen().chosen);

    ASSERT_TRUE(backend::storeLibraryChoice(ini, {}));
    EXPECT_EQ(chosen().file, dir / "modules" / TARVIK_LIBRARY_NAME);
    EXPECT_FALSE(chosen().chosen);

    fs::remove(ini);
    fs::create_directories(ini); // a folder where the file should be
    EXPECT_FALSE(backend::storeLibraryChoice(ini, relative));
}

// The width shown is the library's own: a 32-bit DLL reached through the 32-bit host by the
// 64-bit window is 32 bits.
TEST(LibraryWidth, isTheLibrarysOwnAndTheProgramsWhenUnknown) {
    EXPECT_EQ(backend::libraryWidth(backend::Architecture::X86), "(32 bits)");
    EXPECT_EQ(backend::libraryWidth(backend::Architecture::X86_64), "(64 bits)");
    EXPECT_EQ(backend::libraryWidth(backend::Architecture::Arm64), "(64 bits)");
    EXPECT_EQ(backend::libraryWidth(backend::Architecture::Unknown), settings::buildWidth());
}

} // namespace
