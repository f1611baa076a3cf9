// The module's files survive a process killed at any moment: sales and cancellations run in
// child processes that are killed with SIGKILL at random times, and after each kill the state
// file loads, the fiscal numbering never goes back and every sale or cancellation the caller
// was told of is in the module's records: numbered, its answer kept for its session, logged.

#include "emulator/module/service.h"
#include "emulator/sale/crypto.h"
#include "sale_documents.h"
#include "tests/support/answer_text.h"
#include "tests/support/killed_child.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <sstream>

namespace emulator {
namespace {

namespace fs = std::filesystem;
using test_support::answerFields;
using test_support::KilledChild;
using test_support::Reporter;

constexpr int operationsPerChild = 40; // fewer than the kept sessions, so a round's all stay

// What a child reported of one call: its session, code, the document's key and the answer.
struct Acknowledged {
    int session = 0;
    std::string code;
    std::string key; // "CFe" + 44 digits, or "-" when the answer has none
    std::size_t answerHash = 0;
};

Acknowledged parsed(const std::string& line) {
    std::istringstream in(line);
    Acknowledged a;
    in >> a.session >> a.code >> a.key >> a.answerHash;
    return a;
}

// nCFe within a key "CFe" + cUF(2) AAMM(4) CNPJ(14) mod(2) serie(9) nCF(6) ...
int numberOf(const std::string& key) {
    return std::stoi(key.substr(3 + 31, 6));
}

std::string sessionName(int session) {
    char name[16];
    std::snprintf(name, sizeof name, "%06d", session);
    return name;
}

class ModuleKillTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("mfe-kill-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        Service module(stateFile());
        ASSERT_EQ(answerFields(module.ativarSAT(1, 1, emulator_test::activationCode,
                                                emulator_test::taxpayerCnpj, 23))[1],
                  "04000");
        ASSERT_EQ(answerFields(module.associarAssinatura(2, emulator_test::activationCode,
                                                         emulator_test::softwareHouseCnpj +
                                                             emulator_test::taxpayerCnpj,
                                                         emulator_test::acSignature()))[1],
                  "13000");
    }
    void TearDown() override { fs::remove_all(folder); }

    fs::path stateFile() const { return folder / "estado.json"; }

    // A child's work: sales, each cancelled at once, on sessions from `firstSession` on.
    std::function<void(const Reporter&)> salesFrom(int firstSession) const {
        return [this, firstSession](const Reporter& reporter) {
            Service module(stateFile());
            const auto acknowledge = [&](int session, const std::string& answer) {
                const auto fields = answerFields(answer);
                reporter.report(
                    std::to_string(session) + " " + fields.at(1) + " " +
                    (fields.size() > 8 && fields[8].starts_with("CFe") ? fields[8] : "-") + " " +
                    std::to_string(std::hash<std::string>{}(answer)));
                return fields.size() > 8 ? fields[8] : std::string();
            };
            for (int i = 0; i < operationsPerChild; i += 2) {
                const int session = firstSession + i;
                const std::string key = acknowledge(
                    session, module.enviarDadosVenda(session, emulator_test::activationCode,
                                                     emulator_test::saleDocument(1)));
                acknowledge(session + 1, module.cancelarUltimaVenda(
                                             session + 1, emulator_test::activationCode, key,
                                             emulator_test::cancellationDocument(key)));
            }
        };
    }

    // Checks the records against what the children of one round acknowledged; `codes` are
    // the answer codes a child may get.
    void check(const std::vector<Acknowledged>& acknowledged, const std::set<std::string>& codes) {
        for (const auto& entry : fs::directory_iterator(folder))
            ASSERT_EQ(entry.path().filename().string().find("corrompido"), std::string::npos)
                << "estado posto de lado: " << entry.path();
        const auto text = readFile(stateFile());
        ASSERT_TRUE(text) << "sem arquivo de estado";
        ModuleState state;
        ASSERT_NO_THROW(state = fromJson(*text)) << *text;
        ASSERT_GE(state.lastNumber, lastNumber) << "a numeração voltou";
        lastNumber = state.lastNumber;
        const std::string log = readFile(folder / "estado.log").value_or("");

        for (const auto& a : acknowledged) {
            SCOPED_TRACE("sessão " + std::to_string(a.session) + " " + a.code + " " + a.key);
            ASSERT_TRUE(codes.contains(a.code));
            if (a.code != "06000" && a.code != "07000")
                continue;
            EXPECT_LE(numberOf(a.key), state.lastNumber) << "documento fora da numeração";
            EXPECT_TRUE(keys.insert(a.key).second) << "chave emitida duas vezes";
            EXPECT_NE(std::find(state.sessions.begin(), state.sessions.end(), a.session),
                      state.sessions.end())
                << "sessão não guardada";
            const auto kept =
                readFile(folder / "estado-sessoes" / (sessionName(a.session) + ".txt"));
            ASSERT_TRUE(kept) << "resposta da sessão perdida";
            EXPECT_EQ(std::hash<std::string>{}(*kept), a.answerHash) << "resposta guardada difere";
            const std::string operation =
                a.code == "06000" ? "EnviarDadosVenda" : "CancelarUltimaVenda";
            EXPECT_NE(log.find(";" + operation + ";" + sessionName(a.session) + ";" + a.code),
                      std::string::npos)
                << "chamada fora do log";
        }

        // What the module answers about its records agrees with its state: every kept session
        // can be asked for, and the last fiscal session is the state's last document, never one
        // whose call died before the state was saved.
        for (const int session : state.sessions)
            EXPECT_TRUE(fs::exists(folder / "estado-sessoes" / (sessionName(session) + ".txt")))
                << "sessão " << session << " guardada sem resposta";
        // Loading the state, as every call begins, settles what a dead call left pending.
        fs::path setAside;
        ModuleStore store{ModulePaths(stateFile())};
        ASSERT_TRUE(store.load("morto", setAside));
        const auto lastFiscal = answerFields(store.lastFiscalAnswer().value_or("||"));
        if (lastFiscal.at(1) == "06000" || lastFiscal.at(1) == "07000") {
            EXPECT_EQ(lastFiscal.at(8), "CFe" + state.lastKey) << "última sessão fiscal fantasma";
        }
    }

    // Runs `rounds` rounds of `children` processes sharing the state file, killed at random.
    void killLoop(int children, int rounds, const std::set<std::string>& codes) {
        SCOPED_TRACE("semente " + std::to_string(test_support::killSeed));
        std::mt19937 random(test_support::killSeed);
        // Each child is killed at a random point of one of its first four calls (two sales and
        // their cancellations), or between two of them, as its own reports measure them.
        constexpr std::size_t mostSteps = 3;
        const auto began = test_support::Clock::now();
        const auto limit = began + std::chrono::minutes(5);
        test_support::Clock::duration step{};
        for (int round = 0; round < rounds; ++round) {
            SCOPED_TRACE("rodada " + std::to_string(round));
            std::vector<std::unique_ptr<KilledChild>> running;
            std::vector<KilledChild*> killed;
            std::vector<test_support::KillMoment> moments;
            for (int c = 0; c < children; ++c) {
                running.push_back(std::make_unique<KilledChild>(
                    salesFrom(1000 + round * 100 + c * operationsPerChild)));
                killed.push_back(running.back().get());
                moments.push_back(test_support::randomKillMoment(random, mostSteps));
            }
            const auto ends = test_support::killAtMoments(killed, moments, step, limit);
            std::vector<Acknowledged> acknowledged;
            for (int c = 0; c < children; ++c) {
                ASSERT_EQ(ends[c], "") << "filho " << c;
                for (const auto& line : running[c]->reports()) {
                    ASSERT_FALSE(line.starts_with(test_support::childFailure)) << line;
                    acknowledged.push_back(parsed(line));
                }
            }
            ASSERT_NO_FATAL_FAILURE(check(acknowledged, codes));
            kills += children;
            for (const auto& a : acknowledged)
                answered += a.code == "06000" || a.code == "07000";
        }
        // Enough calls were acknowledged between the kills for the loop to mean something.
        EXPECT_GT(answered, rounds / 2) << kills << " mortes";
        std::printf("%d processos mortos, %d vendas e cancelamentos confirmados em %lld ms; "
                    "última chamada medida: %lld µs\n",
                    kills, answered,
                    static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                               test_support::Clock::now() - began)
                                               .count()),
                    static_cast<long long>(
                        std::chrono::duration_cast<std::chrono::microseconds>(step).count()));
    }

    fs::path folder;
    int lastNumber = 0;
    std::set<std::string> keys;
    int kills = 0;
    int answered = 0;
};

TEST_F(ModuleKillTest, OneProcessKilledAtRandomLosesNothingAcknowledged) {
    killLoop(1, 100, {"06000", "07000"});
}

TEST_F(ModuleKillTest, TwoProcessesSharingTheStateKilledAtRandomLoseNothingAcknowledged) {
    // One child's cancellation may find the other's sale last: 07002, nothing lost.
    killLoop(2, 75, {"06000", "07000", "07002"});
}

TEST_F(ModuleKillTest, ALastFiscalAnswerLeftPendingCountsOnlyWhenItsStateWasSaved) {
    // A process dies between writing a sale's answer aside and putting it in place: the next
    // call puts it in place when the state was saved with it, and drops it when not.
    const std::string sold =
        Service(stateFile())
            .enviarDadosVenda(3, emulator_test::activationCode, emulator_test::saleDocument(1));
    ASSERT_EQ(answerFields(sold)[1], "06000") << sold;
    const std::string pending = "000004|06000|0000|venda de um processo morto";
    for (const bool stateSaved : {false, true}) {
        SCOPED_TRACE(stateSaved ? "estado gravado" : "estado não gravado");
        writeFileWhole(folder / "estado-sessoes" / "ultima-fiscal.pendente", pending);
        if (stateSaved) {
            ModuleState state = fromJson(*readFile(stateFile()));
            state.lastFiscalDigest = sha256Hex(pending);
            writeFileWhole(stateFile(), toJson(state));
        }
        EXPECT_EQ(Service(stateFile())
                      .consultarUltimaSessaoFiscal(5 + stateSaved, emulator_test::activationCode),
                  stateSaved ? pending : sold);
        EXPECT_FALSE(fs::exists(folder / "estado-sessoes" / "ultima-fiscal.pendente"));
    }
}

} // namespace
} // namespace emulator
