// What a front end's attempt becomes in the journal: the outcome of every way a call ends, the
// request rebuilt in Integrador mode, the written files' digests; and a recorder whose journal
// cannot be written gives one warning instead of failing the call.

#include "journal/call_recorder.h"
#include "journal/sha256.h"
#include "tests/journal/journal_fixture.h"

#include <fstream>

namespace {

using namespace journal_test;
using journal::Outcome;

const core::Operation& sat() {
    return *core::operationByName("ConsultarSAT");
}

core::CallAttempt attemptWith(std::function<void(core::CallAttempt&)> change) {
    core::CallAttempt attempt;
    attempt.operation = &sat();
    attempt.call =
        core::PreparedCall{"ConsultarSAT(000001)", {core::Argument::integer(1, "000001")}, {}};
    change(attempt);
    return attempt;
}

core::Executed answered(std::string answer) {
    core::Executed executed;
    executed.answer = std::move(answer);
    executed.report = {"linha do relatório"};
    return executed;
}

template <typename E> std::exception_ptr thrown(E error) {
    return std::make_exception_ptr(std::move(error));
}

TEST(EntryFor, EveryWayACallEndsHasItsOutcome) {
    const std::string busy = "1|" + std::string(sat().busyCode) + "|ocupado||";
    struct Case {
        const char* what;
        core::CallAttempt attempt;
        Outcome outcome;
        std::string message;
    };
    const Case cases[] = {
        {"respondida", attemptWith([](auto& a) { a.executed = answered("1|08000|ok||"); }),
         Outcome::Answered, ""},
        {"ocupado", attemptWith([&](auto& a) { a.executed = answered(busy); }), Outcome::Busy, ""},
        // The answer box of a call whose library ended holds the message saying so; a
        // cancelled call shows the busy answer, but was no module's answer.
        {"biblioteca encerrada", attemptWith([](auto& a) {
             a.executed = answered("a biblioteca encerrou durante a chamada (sinal 11)");
             a.end = core::CallEnd::LibraryEnded;
         }),
         Outcome::LibraryCrashed, "a biblioteca encerrou durante a chamada (sinal 11)"},
        {"cancelada", attemptWith([&](auto& a) {
             a.executed = answered(busy);
             a.end = core::CallEnd::Cancelled;
         }),
         Outcome::Cancelled, ""},
        {"sem acesso",
         attemptWith([](auto& a) { a.failure = thrown(std::runtime_error("sem biblioteca")); }),
         Outcome::Unreachable, "sem biblioteca"},
        {"não enviável",
         attemptWith([](auto& a) { a.failure = thrown(std::invalid_argument("valor longo")); }),
         Outcome::Refused, "valor longo"},
        {"recusada", attemptWith([](auto& a) {
             a.call.reset();
             a.refusal = "código vazio";
         }),
         Outcome::Refused, "código vazio"},
    };
    for (const auto& c : cases) {
        const journal::CallEntry entry = journal::entryFor(c.attempt, {"tarvik", "DLL", "x", ""});
        EXPECT_EQ(entry.outcome, c.outcome) << c.what;
        EXPECT_EQ(entry.message, c.message) << c.what;
        EXPECT_EQ(entry.operation, "ConsultarSAT");
    }
    const auto entry = journal::entryFor(cases[0].attempt, {});
    EXPECT_EQ(entry.answerCode, "08000");
    EXPECT_EQ(entry.report, "linha do relatório\n");
    EXPECT_EQ(entry.callText, "ConsultarSAT(000001)");
}

TEST(EntryFor, IntegradorModeKeepsTheRequestAndFilesTheirDigests) {
    const fs::path folder = freshFolder();
    std::ofstream(folder / "Resp.xml", std::ios::binary) << "abc";
    const auto entry = journal::entryFor(
        attemptWith([&](auto& a) {
            a.integradorMode = true;
            a.requestIdentifier = "777";
            a.executed = answered("1|08000|ok||");
            a.files = {(folder / "Resp.xml").string(), (folder / "sumiu.xml").string()};
        }),
        {});
    EXPECT_NE(entry.request.find("777"), std::string::npos) << entry.request;
    EXPECT_NE(entry.request.find("ConsultarMFe"), std::string::npos) << entry.request;
    ASSERT_EQ(entry.files.size(), 2u);
    EXPECT_EQ(entry.files[0].sha256,
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(entry.files[1].sha256, ""); // gone before it was journalled
    fs::remove_all(folder);
}

TEST_F(JournalTest, ARecorderThatCannotWriteGivesOneWarningAndCarriesOn) {
    // The journal's path is a folder: nothing can be opened there.
    fs::create_directories(file);
    journal::CallRecorder recorder(file, {});
    const auto attempt = attemptWith([](auto& a) { a.executed = answered("1|08000|ok||"); });
    const auto first = recorder.keep(attempt, {});
    ASSERT_EQ(first.size(), 1u);
    EXPECT_NE(first[0].find("aviso:"), std::string::npos) << first[0];

    fs::remove_all(file);
    journal::CallRecorder sound(file, {});
    EXPECT_TRUE(sound.start().empty());
    EXPECT_TRUE(sound.keep(attempt, {}).empty());
    EXPECT_EQ(journal::Journal(file).find({}).size(), 1u);
}

} // namespace
