// The journal's file: what is kept comes back whole, filters choose the right calls, the file is
// private, damaged and newer files are set aside, retention prunes by age and size, and two
// processes writing at once lose nothing.

#include "journal/calendar_day.h"
#include "tests/journal/journal_fixture.h"

#include <algorithm>
#include <fstream>
#include <functional>

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

using namespace journal_test;
using journal::CallEntry;
using journal::Filter;
using journal::Journal;

std::vector<std::string> operationsOf(const std::vector<CallEntry>& calls) {
    std::vector<std::string> names;
    for (const auto& c : calls)
        names.push_back(c.operation + "#" + c.session);
    return names;
}

TEST_F(JournalTest, AKeptCallComesBackByteForByteWithItsFiles) {
    CallEntry entry = call("EnviarDadosVenda", std::string("1|06000|ok\0\xff\r\n|", 15));
    entry.request = "<Integrador>…</Integrador>";
    entry.outcome = journal::Outcome::Busy;
    entry.message = "motivo";
    entry.report = "linha 1\nlinha 2\n";
    entry.files = {{"/tmp/a.xml", std::string(64, 'a')}, {"/tmp/b.xml", ""}};
    const auto id = Journal(file).record(entry);

    const auto back = Journal(file).entry(id);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->answer, entry.answer);
    EXPECT_EQ(back->request, entry.request);
    EXPECT_EQ(back->outcome, journal::Outcome::Busy);
    EXPECT_EQ(back->report, entry.report);
    EXPECT_EQ(back->duration, entry.duration);
    EXPECT_EQ(
        std::chrono::duration_cast<std::chrono::milliseconds>(back->start - entry.start).count(),
        0);
    ASSERT_EQ(back->files.size(), 2u);
    EXPECT_EQ(back->files[0].path, "/tmp/a.xml");
    EXPECT_EQ(back->files[0].sha256, entry.files[0].sha256);
    EXPECT_EQ(back->files[1].path, "/tmp/b.xml");
}

TEST_F(JournalTest, FiltersChooseTheCallsNewestFirst) {
    const auto now = std::chrono::system_clock::now();
    Journal journal(file);
    auto record = [&](std::string op, std::string answer, int minutesAgo, std::string session) {
        CallEntry entry = call(std::move(op), std::move(answer), minutesAgo, now);
        entry.session = std::move(session);
        journal.record(entry);
    };
    record("ConsultarSAT", "1|08000|SAT em Operação||", 3000, "a");
    record("ConsultarStatusOperacional", "2|10000|Resposta com Sucesso.|", 60, "b");
    record("ConsultarSAT", "3|08098|SAT em processamento 50%_x||", 30, "c");
    record("AtivarSAT", "4|04000|Ativado|", 0, "d");

    struct Case {
        const char* what;
        Filter filter;
        std::vector<std::string> expected;
    };
    Filter byOperation, byCode, byText, wildcard, byDate, limited, combined;
    byOperation.operation = "ConsultarSAT";
    byCode.answerCode = "10000";
    byText.text = "sat em"; // case does not matter
    wildcard.text = "50%_"; // LIKE's wildcards stand for themselves
    byDate.from = now - std::chrono::hours(2);
    byDate.to = now - std::chrono::minutes(10);
    limited.limit = 2;
    combined.operation = "ConsultarSAT";
    combined.text = "Operação";
    const Case cases[] = {
        {"nenhum filtro",
         Filter{},
         {"AtivarSAT#d", "ConsultarSAT#c", "ConsultarStatusOperacional#b", "ConsultarSAT#a"}},
        {"operação", byOperation, {"ConsultarSAT#c", "ConsultarSAT#a"}},
        {"código", byCode, {"ConsultarStatusOperacional#b"}},
        {"texto", byText, {"ConsultarSAT#c", "ConsultarSAT#a"}},
        {"curingas", wildcard, {"ConsultarSAT#c"}},
        {"período", byDate, {"ConsultarSAT#c", "ConsultarStatusOperacional#b"}},
        {"limite", limited, {"AtivarSAT#d", "ConsultarSAT#c"}},
        {"combinados", combined, {"ConsultarSAT#a"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(operationsOf(journal.find(c.filter)), c.expected) << c.what;
    EXPECT_EQ(journal.operations(), (std::vector<std::string>{"AtivarSAT", "ConsultarSAT",
                                                              "ConsultarStatusOperacional"}));
}

TEST_F(JournalTest, TextIsFoundIgnoringCaseAndAccentsOnBothSides) {
    Journal journal(file);
    auto record = [&](std::string callText, std::string answer, std::string session) {
        CallEntry entry = call("EnviarDadosVenda", std::move(answer));
        entry.callText = std::move(callText);
        entry.session = std::move(session);
        journal.record(entry);
    };
    record("EnviarDadosVenda(1)", "1|06000|<xProd>CAFÉ EXPRESSO</xProd>|", "cafe");
    record("EnviarDadosVenda(2)", "2|06000|<xNome>Panificação Sol</xNome>|", "pao");
    record("AtivarSAT(3,PANIFICAÇÃO)", "3|04000|ok|", "chamada");
    // Latin-1 bytes, not UTF-8: found as themselves, and nothing breaks.
    record("EnviarDadosVenda(4)", "4|06000|caf\xc9 \xff|", "latin1");

    struct Case {
        std::string text;
        std::vector<std::string> sessions;
    };
    const Case cases[] = {
        {"café", {"cafe"}},           {"CAFE", {"cafe"}},
        {"cAfÉ eXpReSsO", {"cafe"}},  {"PANIFICAÇÃO", {"chamada", "pao"}},
        {"panificacao sol", {"pao"}}, {"caf\xc9", {"latin1"}},
        {"\xff", {"latin1"}},         {"cafés", {}},
    };
    for (const auto& c : cases) {
        Filter filter;
        filter.text = c.text;
        std::vector<std::string> sessions;
        for (const CallEntry& found : journal.find(filter))
            sessions.push_back(found.session);
        EXPECT_EQ(sessions, c.sessions) << c.text;
    }
}

TEST(CalendarDay, DaysRunFromLocalMidnightToTheNextAndNonsenseIsRefused) {
    const auto start = journal::dayStart("2026-02-28");
    const auto end = journal::dayEnd("2026-02-28");
    ASSERT_TRUE(start && end);
    EXPECT_EQ(*journal::dayStart("2026-03-01"), *end); // across the month's end
    EXPECT_GE(*end - *start, std::chrono::hours(23));
    EXPECT_LE(*end - *start, std::chrono::hours(25));
    for (const char* bad : {"2026-02-29", "2026-13-01", "26-01-01", "2026/01/01", "2026-01-1x", ""})
        EXPECT_FALSE(journal::dayStart(bad)) << bad;
}

#ifndef _WIN32
TEST_F(JournalTest, TheFileAndItsCompanionsAreTheOwnersAlone) {
    const mode_t before = ::umask(0);
    {
        Journal journal(file);
        journal.record(call("ConsultarSAT", "1|08000|ok||"));
        for (const char* name : {"historico.sqlite", "historico.sqlite-wal"}) {
            struct stat info {};
            ASSERT_EQ(::stat((folder / name).c_str(), &info), 0) << name;
            EXPECT_EQ(info.st_mode & 0777, 0600u) << name;
        }
    }
    ::umask(before);
}
#endif

TEST_F(JournalTest, ADamagedOrNewerFileIsSetAsideOnceAndANewOneStarted) {
    struct Case {
        const char* what;
        std::function<void()> spoil;
        const char* suffix;
    };
    const Case cases[] = {
        {"não é um banco",
         [this] { std::ofstream(file, std::ios::binary) << std::string(8192, 'x'); },
         ".corrompido-"},
        {"cabeçalho danificado",
         [this] {
             Journal(file).record(call("ConsultarSAT", "1|08000|ok||"));
             // Copied without its log, whose pages would stand in for the damaged ones.
             fs::remove(folder / "historico.sqlite-wal");
             fs::remove(folder / "historico.sqlite-shm");
             std::fstream f(file, std::ios::binary | std::ios::in | std::ios::out);
             f.seekp(0);
             f << "SQLite format 9";
         },
         ".corrompido-"},
        {"versão mais nova",
         [this] {
             Journal(file).record(call("ConsultarSAT", "1|08000|ok||"));
             journal::Connection(file).execute("PRAGMA user_version = 7");
         },
         ".versao-7-"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(folder);
        fs::create_directories(folder);
        c.spoil();
        const auto spoiledSize = fs::file_size(file);
        Journal journal(file);
        EXPECT_NE(journal.notice().find("foi guardado como"), std::string::npos)
            << journal.notice();
        std::vector<fs::path> aside;
        // Set aside with its log, if it has one: the log belongs to it, not to the new file.
        for (const auto& entry : fs::directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with(std::string("historico.sqlite") + c.suffix) &&
                !name.ends_with("-wal") && !name.ends_with("-shm"))
                aside.push_back(entry.path());
        }
        ASSERT_EQ(aside.size(), 1u);
        EXPECT_EQ(fs::file_size(aside[0]), spoiledSize); // set aside as it was
        journal.record(call("ConsultarSAT", "2|08000|ok||"));
        EXPECT_EQ(journal.find({}).size(), 1u);
        EXPECT_TRUE(Journal(file).notice().empty()); // the new file is sound
    }
}

TEST_F(JournalTest, RetentionPrunesByAgeThenTheOldestBeyondTheSize) {
    const auto now = std::chrono::system_clock::now();
    Journal journal(file);
    for (int day : {100, 91, 89, 10})
        journal.record(call("Velha" + std::to_string(day), "1|08000|ok||", day * 24 * 60, now));
    EXPECT_EQ(journal.prune({std::chrono::hours(90 * 24), 1ull << 30}, now), 2u);
    EXPECT_EQ(journal.operations(), (std::vector<std::string>{"Velha10", "Velha89"}));

    // About 2 MB of answers, then a 1 MB limit: the oldest go until the rest fit.
    const std::string big(20000, 'r');
    for (int i = 0; i < 100; ++i)
        journal.record(call("Grande", "1|08000|" + big + std::to_string(i) + "|", 100 - i, now));
    const auto deleted = journal.prune({std::chrono::hours(90 * 24), 1024 * 1024}, now);
    EXPECT_GE(deleted, 50u);
    const auto left = journal.find({});
    ASSERT_FALSE(left.empty());
    EXPECT_EQ(left.front().answer, "1|08000|" + big + "99|"); // the newest stays
    EXPECT_LT(left.size(), 52u);
    EXPECT_LE(fs::file_size(file), 1024u * 1024 + 64 * 1024); // the freed pages are returned
}

#ifndef _WIN32
// Processes that open a journal file at the same moment and write into it: every one opens it
// (a new file's switch to WAL mode included) and every call is kept.
void writeAtOnce(const fs::path& file, int processes) {
    constexpr int perProcess = 300;
    // The children wait on a pipe and start together when the parent closes it.
    int gate[2];
    ASSERT_EQ(::pipe(gate), 0);
    std::vector<pid_t> children;
    for (int process = 0; process < processes; ++process) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::close(gate[1]);
            char ignored;
            while (::read(gate[0], &ignored, 1) > 0) {
            }
            int status = 0;
            try {
                Journal journal(file);
                for (int i = 0; i < perProcess; ++i) {
                    CallEntry entry = call("Processo" + std::to_string(process), "1|08000|ok||");
                    entry.session = std::to_string(i);
                    journal.record(entry);
                }
            } catch (const std::exception& e) {
                std::fprintf(stderr, "filho %d: %s\n", process, e.what());
                status = 1;
            }
            ::_exit(status);
        }
        children.push_back(pid);
    }
    ::close(gate[0]);
    ::close(gate[1]);
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    Journal journal(file);
    for (int process = 0; process < processes; ++process) {
        Filter mine;
        mine.operation = "Processo" + std::to_string(process);
        std::vector<int> sessions;
        for (const auto& c : journal.find(mine))
            sessions.push_back(std::stoi(c.session));
        std::sort(sessions.begin(), sessions.end());
        ASSERT_EQ(sessions.size(), std::size_t(perProcess)) << mine.operation;
        for (int i = 0; i < perProcess; ++i)
            ASSERT_EQ(sessions[std::size_t(i)], i);
    }
}

TEST_F(JournalTest, TwoProcessesWritingAtOnceLoseNothing) {
    writeAtOnce(file, 2);
}

TEST_F(JournalTest, FourProcessesStartingTogetherOnANewFileLoseNothing) {
    writeAtOnce(file, 4);
}

TEST_F(JournalTest, ProcessesOpeningAnExistingFileAtOnceLoseNothing) {
    Journal(file).record(call("Antes", "1|08000|ok||"));
    writeAtOnce(file, 4);
}
#endif

} // namespace
