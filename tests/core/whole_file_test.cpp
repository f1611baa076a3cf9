// Files written whole: every writer of a file has a temporary name of its own, and a save that
// succeeds removes what writers killed before their rename left beside the file, never what a
// running writer is still writing.

#include "core/whole_file.h"

#include "core/processes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <thread>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;

class WholeFileTest : public testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("tarvik-whole-file-" + std::to_string(std::random_device{}()));
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    void touch(const std::string& name) const {
        std::ofstream(folder / name, std::ios::binary) << "parcial";
    }

    std::set<std::string> names() const {
        std::set<std::string> all;
        for (const auto& entry : fs::directory_iterator(folder))
            all.insert(entry.path().filename().string());
        return all;
    }

    fs::path folder;
};

// A failed save says in Portuguese which step failed, with the system's reason, and never the
// temporary's name (the caller names the file).
TEST_F(WholeFileTest, AFailureNamesTheStepNotTheTemporary) {
    const fs::path target = folder / "venda.xml";
    // A folder with a file in it where the step writes: neither opened for writing nor
    // replaced by a rename.
    struct Case {
        fs::path blocked;
        std::string expected;
    } cases[] = {
        {core::temporaryFileFor(target), "os dados não puderam ser escritos na pasta ("},
        {target, "o arquivo não pôde tomar o lugar do anterior ("},
    };
    for (const Case& c : cases) {
        fs::create_directories(c.blocked / "x");
        std::string error;
        EXPECT_FALSE(core::writeFileWhole(target, "venda", error)) << c.blocked;
        EXPECT_TRUE(error.starts_with(c.expected)) << error;
        EXPECT_TRUE(error.ends_with(")")) << error;
        EXPECT_EQ(error.find(".tmp"), std::string::npos) << error;
        EXPECT_EQ(error.find(folder.string()), std::string::npos) << error;
        fs::remove_all(c.blocked);
    }
}

// Two threads of one process, as two processes, write the same file through different names.
TEST_F(WholeFileTest, EachWriterHasATemporaryNameOfItsOwn) {
    const fs::path target = folder / "Resp_venda.xml";
    const fs::path mine = core::temporaryFileFor(target);
    fs::path other;
    std::thread([&] { other = core::temporaryFileFor(target); }).join();
    EXPECT_NE(mine, other);
    EXPECT_EQ(mine, core::temporaryFileFor(target)) << "one name per thread";
    EXPECT_EQ(mine.parent_path(), folder);
    const std::string name = mine.filename().string();
    EXPECT_TRUE(
        name.starts_with("Resp_venda.xml." + std::to_string(core::currentProcessId()) + "."))
        << name;
    EXPECT_TRUE(name.ends_with(".tmp")) << name;
}

TEST_F(WholeFileTest, ASuccessfulSaveRemovesOnlyTheTemporariesOfDeadWriters) {
#ifdef _WIN32
    GTEST_SKIP() << "a dead writer's process id comes from fork(): POSIX only";
#else
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0)
        _exit(0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    const std::string dead = std::to_string(child);
    const std::string running = std::to_string(getppid());
    const std::string self = std::to_string(core::currentProcessId());

    const std::set<std::string> kept = {
        "venda.xml." + running + ".7.tmp", // a writer still at work
        "venda.xml." + self + ".1.tmp",    // another thread of this process
        "venda.xml.tmp",                   // not a writer's name
        "venda.xml." + dead + ".x.tmp",
        "outra.xml." + dead + ".7.tmp", // another file's
        "venda.xml." + dead + ".7",
    };
    const std::string stale = "venda.xml." + dead + ".7.tmp";
    for (const auto& name : kept)
        touch(name);
    touch(stale);

    std::string error;
    // A save that fails leaves everything as it was.
    fs::create_directories(core::temporaryFileFor(folder / "venda.xml") / "x");
    EXPECT_FALSE(core::writeFileWhole(folder / "venda.xml", "venda", error));
    EXPECT_TRUE(fs::exists(folder / stale));
    fs::remove_all(core::temporaryFileFor(folder / "venda.xml"));

    ASSERT_TRUE(core::writeFileWhole(folder / "venda.xml", "venda", error)) << error;
    std::set<std::string> expected = kept;
    expected.insert("venda.xml");
    EXPECT_EQ(names(), expected);
#endif
}

} // namespace
