// Every file the program writes is replaced whole: a child process writes large, distinct
// versions of it through the program's own function, one after another, and is killed with
// SIGKILL at a random moment; the file then holds exactly the last version the child finished
// or the one it was writing, never a mixture or a truncated one.

#include "access/integrador_backend.h"
#include "access/integrador_request.h"
#include "documents/cancellation_request.h"
#include "documents/returned_document.h"
#include "settings/ini_file.h"
#include "tests/access/integrador_test_folders.h"
#include "tests/support/killed_child.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

namespace {

namespace fs = std::filesystem;
using test_support::KilledChild;
using test_support::Reporter;

constexpr int killsPerFile = 40;

// About 64 KiB of text that names its version on every line.
std::string payload(int version) {
    std::string text;
    for (int line = 0; text.size() < 64 * 1024; ++line)
        text += "v" + std::to_string(version) + "l" + std::to_string(line) +
                "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 ";
    return text + "fim";
}

// An issued CF-e whose signAC carries the payload: what the cancellation generators read.
std::string issuedCFe(int version) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><CFe><infCFe Id=\"CFe3524" +
           std::to_string(version) + "\"><ide><CNPJ>16716114000172</CNPJ><signAC>" +
           payload(version) +
           "</signAC><numeroCaixa>001</numeroCaixa></ide><dest><CPF>52998224725</CPF></dest>"
           "</infCFe></CFe>";
}

documents::IssuedCFeValues issuedValues(int version) {
    return {"CFe3524" + std::to_string(version),
            "16716114000172",
            payload(version),
            "001",
            "",
            "52998224725"};
}

const std::string iniBefore = "; TarvikPlus\r\n[DEFAULT]\r\nACESSO=DLL\r\n[OUTRA]\r\nX=1\r\n";

// One file the program writes: how a version is written through the program's function, and
// what the file holds afterwards.
struct SavedFile {
    const char* what;
    fs::path file;
    std::function<void(int version)> write;
    std::function<std::string(int version)> contents;
};

class SaveKillTest : public IntegradorFolderTest {
protected:
    void SetUp() override {
        IntegradorFolderTest::SetUp();
        fs::create_directories(folders.input);
        fs::create_directories(folders.output);
        std::ofstream(root / "tarvikplus.ini", std::ios::binary) << iniBefore;
    }

    // The issued CF-e the generators read, at `version`.
    fs::path issuedFile(int version) const {
        const auto file = root / "emitido.xml";
        std::ofstream(file, std::ios::binary) << issuedCFe(version);
        return file;
    }

    core::Arguments saleArguments(int version) const {
        return {core::Argument::integer(4321, "004321"), core::Argument::typed("codigo", "codigo"),
                core::Argument::document(payload(version), "venda.xml")};
    }

    std::vector<SavedFile> savedFiles() {
        const auto& sale = *core::operationByName("EnviarDadosVenda");
        return {
            {"Resp_ / RespCanc_ (saveReturnedDocument)", root / "Retornos" / "Resp_venda.xml",
             [this](int v) {
                 std::string error;
                 if (!documents::saveReturnedDocument(root / "Retornos" / "Resp_venda.xml",
                                                      {payload(v), "fim"}, error))
                     throw std::runtime_error(error);
             },
             [](int v) {
                 return documents::savedForm({payload(v), "fim"});
             }},
            {"C_ (generateAfterSale)", root / "Para_Cancelar" / "C_venda.xml",
             [this](int v) {
                 documents::generateAfterSale(issuedFile(v), "venda.xml", documents::Layout::V007,
                                              root);
             },
             [](int v) {
                 return documents::cancellationDocument(issuedValues(v), false) + "\r\n";
             }},
            {"Canc_ (generateFromIssuedCFe)", root / "Temp" / "Canc_emitido.xml",
             [this](int v) {
                 documents::generateFromIssuedCFe(issuedFile(v).string(), documents::Layout::V006,
                                                  root);
             },
             [](int v) { return documents::cancellationDocument(issuedValues(v), true) + "\r\n"; }},
            {"INI (writeProfileString)", root / "tarvikplus.ini",
             [this](int v) {
                 if (!settings::writeProfileString((root / "tarvikplus.ini").string(), "DEFAULT",
                                                   "ACESSO", payload(v)))
                     throw std::runtime_error("INI não gravado");
             },
             [](int v) {
                 return settings::withProfileString(iniBefore, "DEFAULT", "ACESSO", payload(v));
             }},
            {"pedido ao Integrador (ChamaIntegrador)",
             folders.input / backend::requestFileName(sale, state.requestIdentifier),
             [this, &sale](int v) {
                 backend::IntegradorBackend integrador(folders, state,
                                                       std::chrono::milliseconds(0));
                 integrador.call(sale, saleArguments(v));
             },
             [this, &sale](int v) {
                 return backend::requestDocument(sale, state.requestIdentifier, saleArguments(v));
             }},
        };
    }
};

std::string readWhole(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_F(SaveKillTest, AKilledWriterLeavesTheOldFileOrTheNewOne) {
    SCOPED_TRACE("semente " + std::to_string(test_support::killSeed));
    std::mt19937 random(test_support::killSeed);
    const auto limit = test_support::Clock::now() + std::chrono::minutes(5);
    for (const auto& saved : savedFiles()) {
        SCOPED_TRACE(saved.what);
        // Each child is killed at a random point of one of its first three writes, or between
        // two of them, as its own reports measure them. Until a child has reported two, a
        // write's length is what this machine took on average for a few.
        constexpr std::size_t mostSteps = 2;
        constexpr int timedWrites = 5;
        const auto start = test_support::Clock::now();
        for (int i = 0; i < timedWrites; ++i)
            saved.write(0);
        test_support::Clock::duration step = (test_support::Clock::now() - start) / timedWrites;
        int finished = 0; // the newest version known to be whole in the file
        int written = 0;  // versions finished during the loop, across all kills
        for (int round = 0; round < killsPerFile; ++round) {
            SCOPED_TRACE("rodada " + std::to_string(round));
            const int first = finished + 1;
            KilledChild child([&](const Reporter& reporter) {
                for (int v = first;; ++v) {
                    saved.write(v);
                    reporter.report(std::to_string(v));
                }
            });
            ASSERT_EQ(
                test_support::killAtMoments(
                    {&child}, {test_support::randomKillMoment(random, mostSteps)}, step, limit)[0],
                "");
            const auto& reports = child.reports();
            for (const auto& line : reports)
                ASSERT_FALSE(line.starts_with(test_support::childFailure)) << line;
            if (!reports.empty())
                finished = std::stoi(reports.back());
            written += static_cast<int>(reports.size());

            // The version being written when the child died may have reached its final name.
            const std::string now = readWhole(saved.file);
            if (now == saved.contents(finished + 1))
                ++finished;
            else
                ASSERT_EQ(now.size(), saved.contents(finished).size())
                    << "arquivo parcial: nem a versão " << finished << " nem a " << finished + 1;
            ASSERT_TRUE(now == saved.contents(finished))
                << "arquivo misturado: nem a versão " << finished << " nem a " << finished + 1;
        }
        // The temporaries the killed writers left go with the next save that succeeds.
        saved.write(finished + 1);
        const std::string temporaryPrefix = saved.file.filename().string() + ".";
        for (const auto& entry : fs::directory_iterator(saved.file.parent_path()))
            EXPECT_FALSE(entry.path().filename().string().starts_with(temporaryPrefix))
                << "temporário deixado: " << entry.path();
        std::printf("%s: %d mortes, %d versões gravadas entre elas, %lld µs por versão\n",
                    saved.what, killsPerFile, written,
                    static_cast<long long>(
                        std::chrono::duration_cast<std::chrono::microseconds>(step).count()));
        // Versions were finished between the kills, so both the old and the new file were seen.
        EXPECT_GT(written, killsPerFile / 2) << killsPerFile << " mortes";
    }
}

} // namespace
