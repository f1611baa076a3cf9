// A writer killed with SIGKILL at random moments while journalling: the journal still opens as
// it is (nothing set aside), and every call the writer was told was kept is there.

#include "tests/journal/journal_fixture.h"
#include "tests/support/killed_child.h"

#include <cstdio>
#include <set>

namespace {

using namespace journal_test;
using journal::Journal;
using test_support::KilledChild;
using test_support::Reporter;

constexpr int kills = 40;

TEST_F(JournalTest, AKilledWriterLeavesAJournalThatOpensWithEveryAcknowledgedCall) {
    SCOPED_TRACE("semente " + std::to_string(test_support::killSeed));
    std::mt19937 random(test_support::killSeed);
    const auto limit = test_support::Clock::now() + std::chrono::minutes(5);
    // A few kilobytes per call, as a sale's answer brings.
    const std::string answer = "1|06000|" + std::string(4000, 'v') + "|";
    test_support::Clock::duration step;
    {
        Journal journal(file);
        const auto start = test_support::Clock::now();
        for (int i = 0; i < 5; ++i)
            journal.record(call("Medida", answer));
        step = (test_support::Clock::now() - start) / 5;
    }
    std::size_t acknowledged = 0;
    int next = 0;
    for (int round = 0; round < kills; ++round) {
        SCOPED_TRACE("rodada " + std::to_string(round));
        const int first = next;
        KilledChild child([&](const Reporter& reporter) {
            Journal journal(file);
            for (int n = first;; ++n) {
                journal::CallEntry entry = call("Escritor", answer);
                entry.session = std::to_string(n);
                journal.record(entry);
                reporter.report(std::to_string(n));
            }
        });
        ASSERT_EQ(test_support::killAtMoments({&child}, {test_support::randomKillMoment(random, 8)},
                                              step, limit)[0],
                  "");
        for (const auto& line : child.reports())
            ASSERT_FALSE(line.starts_with(test_support::childFailure)) << line;
        acknowledged += child.reports().size();

        Journal journal(file);
        ASSERT_EQ(journal.notice(), "");
        journal::Filter written;
        written.operation = "Escritor";
        std::set<int> present;
        for (const auto& kept : journal.find(written))
            present.insert(std::stoi(kept.session));
        for (const auto& line : child.reports())
            ASSERT_TRUE(present.count(std::stoi(line))) << "chamada " << line << " perdida";
        // The call being written at the kill may be there too; the next writer goes on after it.
        next = present.empty() ? 0 : *present.rbegin() + 1;
    }
    std::printf("%d mortes, %zu chamadas confirmadas antes delas, %lld µs por chamada\n", kills,
                acknowledged,
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::microseconds>(step).count()));
    EXPECT_GT(acknowledged, std::size_t(kills)); // kills fell between calls and inside them
}

} // namespace
