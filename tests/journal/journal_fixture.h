#pragma once
// A journal in a folder of the test's own, and calls to keep in it.

#include "journal/journal_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

namespace journal_test {

namespace fs = std::filesystem;

inline fs::path freshFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::random_device seed;
    const fs::path folder =
        fs::temp_directory_path() /
        ("tarvik-journal-" + std::string(info->name()) + "-" + std::to_string(seed()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

// A call answered `minutesAgo` before `now`.
inline journal::CallEntry
call(std::string operation, std::string answer, int minutesAgo = 0,
     std::chrono::system_clock::time_point now = std::chrono::system_clock::now()) {
    journal::CallEntry entry;
    entry.start = now - std::chrono::minutes(minutesAgo);
    entry.startLocal = "local";
    entry.duration = std::chrono::microseconds(1500);
    entry.programVersion = "1.0.0.0";
    entry.frontEnd = "tarvik";
    entry.accessMode = "DLL";
    entry.target = "/lib/libmfe.so";
    entry.layout = "0.07";
    entry.operation = std::move(operation);
    entry.session = "123456";
    entry.callText = entry.operation + "(123456)";
    entry.answer = std::move(answer);
    const auto first = entry.answer.find('|');
    entry.answerCode = first == std::string::npos ? "" : entry.answer.substr(first + 1, 5);
    entry.inputs = "{}";
    return entry;
}

class JournalTest : public ::testing::Test {
protected:
    fs::path folder = freshFolder();
    fs::path file = folder / "historico.sqlite";
    ~JournalTest() override { fs::remove_all(folder); }
};

} // namespace journal_test
