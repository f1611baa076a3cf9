#pragma once
// Fixtures, the program folder the build fills with schemas, and temporary folders.

#include "tests/support/published_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace documents_test {

inline std::filesystem::path fixture(const std::string& name) {
    return std::filesystem::path(TARVIK_FIXTURES_DIR) / "documents" / name;
}

inline std::string readText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The build folder, where the build installs the published schemas into Schemas/ when they are
// at hand.
inline std::filesystem::path programDir() {
    return TARVIK_PROGRAM_DIR;
}

// The build installs them into Schemas/ from the folder named by TARVIK_SCHEMAS_SOURCE.
#define SKIP_WITHOUT_SCHEMAS()                                                                     \
    SKIP_WITHOUT_PUBLISHED_FILE(documents_test::programDir() / "Schemas" / "CFeRecebido_7.xsd",    \
                                "-DTARVIK_SCHEMAS_SOURCE")

// A folder of its own for the running test, removed at the end.
class TempDir {
public:
    TempDir() {
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::filesystem::temp_directory_path() /
                ("tarvik-" + std::string(test->test_suite_name()) + "-" + test->name() + "-" +
                 std::to_string(std::random_device{}()));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }

    std::filesystem::path write(const std::string& name, const std::string& content) const {
        const auto file = path_ / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << content;
        return file;
    }

private:
    std::filesystem::path path_;
};

} // namespace documents_test
