// The Integrador exchange against peers in processes of their own that write the answer file in
// place, byte by byte: the program takes an answer only once it is whole, and a peer killed
// half-way leaves a broken file that is skipped and reported once, while the answer that comes
// after it is still taken.

#include "access/integrador_backend.h"
#include "access/integrador_request.h"
#include "tests/access/integrador_test_folders.h"
#include "tests/support/killed_child.h"
#include "tests/support/wait_until.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test_support::KilledChild;
using test_support::Reporter;

const std::string retorno = "004321|08000|SAT em operação|0000|Módulo em ordem||";

std::string answerFile(std::string_view identificador) {
    return "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<Integrador>\r\n"
           "  <Identificador>\r\n    <Valor>" +
           std::string(identificador) +
           "</Valor>\r\n  </Identificador>\r\n  <Resposta>\r\n    <retorno>" + retorno +
           "</retorno>\r\n  </Resposta>\r\n</Integrador>\r\n";
}

// A peer's work: once `awaited` exists (when one is named), and `pause` later, writes the first
// `cut` bytes of `bytes` into `file` one at a time, each after a random pause of up to 300 µs,
// reports it, then stays until it is killed.
std::function<void(const Reporter&)> slowWriter(fs::path file, std::string bytes, std::size_t cut,
                                                fs::path awaited, std::chrono::milliseconds pause,
                                                std::uint32_t seed) {
    return [=](const Reporter& reporter) {
        if (!awaited.empty() && !test_support::waitUntil([&] { return fs::exists(awaited); }))
            throw std::runtime_error(awaited.string() + " não apareceu");
        std::this_thread::sleep_for(pause);
        std::mt19937 random(seed);
        const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0)
            throw std::runtime_error("não abriu " + file.string());
        for (std::size_t i = 0; i < cut; ++i) {
            if (::write(fd, &bytes[i], 1) != 1)
                throw std::runtime_error("não gravou " + file.string());
            std::this_thread::sleep_for(test_support::killDelay(random, 300));
        }
        reporter.report("gravou " + std::to_string(cut));
        for (;;)
            ::pause();
    };
}

class IntegradorPeerKillTest : public IntegradorFolderTest {
protected:
    void SetUp() override {
        IntegradorFolderTest::SetUp();
        fs::create_directories(folders.input);
        fs::create_directories(folders.output);
    }

    std::string call(std::chrono::milliseconds limit) {
        backend = std::make_unique<backend::IntegradorBackend>(folders, state, limit);
        return backend->call(consultar, {core::Argument::integer(4321, "004321")});
    }

    const core::Operation& consultar = *core::operationByName("ConsultarSAT");

    std::unique_ptr<backend::IntegradorBackend> backend;
};

TEST_F(IntegradorPeerKillTest, AnAnswerWrittenByteByByteInPlaceIsTakenOnlyWhole) {
    const std::string whole = answerFile(state.requestIdentifier);
    const std::string document = whole.substr(3, whole.find("</Integrador>") + 13 - 3);
    // The peer begins once the request is there, so the call sees the answer grow.
    const auto request =
        folders.input / backend::requestFileName(consultar, state.requestIdentifier);
    for (std::uint32_t round = 0; round < 5; ++round) {
        SCOPED_TRACE("semente " + std::to_string(test_support::killSeed + round));
        fs::remove(request);
        KilledChild peer(slowWriter(folders.output / "resposta.xml", whole, whole.size(), request,
                                    0ms, test_support::killSeed + round));
        EXPECT_EQ(call(10s), retorno);
        EXPECT_EQ(backend->lastOutcome(), backend::IntegradorBackend::Outcome::Answered);
        EXPECT_TRUE(backend->skippedFiles().empty());
        // Taken as soon as its root element is closed: the line break after it may be missing.
        EXPECT_TRUE(state.answerDocument.starts_with(document)) << state.answerDocument;
        EXPECT_LE(state.answerDocument.size(), whole.size() - 3);
        ASSERT_EQ(peer.kill(), "");
    }
}

TEST_F(IntegradorPeerKillTest, PeersKilledHalfWayAreSkippedAndNamedOnceAndTheAnswerStillTaken) {
    // Three peers die part of the way through the answer (at a random byte); the one that
    // writes it whole starts once their files have been given up.
    const std::string whole = answerFile(state.requestIdentifier);
    std::mt19937 random(test_support::killSeed);
    std::vector<std::unique_ptr<KilledChild>> crashed;
    std::vector<std::string> broken;
    for (int i = 0; i < 3; ++i) {
        const std::size_t cut =
            std::uniform_int_distribution<std::size_t>(1, whole.size() - 1)(random);
        broken.push_back("morta" + std::to_string(i) + ".xml");
        crashed.push_back(std::make_unique<KilledChild>(
            slowWriter(folders.output / broken.back(), whole, cut, {}, 0ms, random())));
        SCOPED_TRACE(broken.back() + " cortada em " + std::to_string(cut));
        ASSERT_TRUE(crashed.back()->awaitReports(1, test_support::Clock::now() + 1min));
        ASSERT_EQ(crashed.back()->kill(), "");
        ASSERT_EQ(crashed.back()->reports(),
                  std::vector<std::string>{"gravou " + std::to_string(cut)});
    }
    const auto grace = backend::AnswerReader::unparsableGrace;
    KilledChild healthy(
        slowWriter(folders.output / "viva.xml", whole, whole.size(), {},
                   std::chrono::duration_cast<std::chrono::milliseconds>(grace) + 500ms, random()));

    EXPECT_EQ(call(20s), retorno);
    std::vector<std::string> skipped;
    for (const auto& file : backend->skippedFiles())
        skipped.push_back(file.name);
    std::sort(skipped.begin(), skipped.end());
    EXPECT_EQ(skipped, broken);
    for (const auto& name : broken)
        EXPECT_TRUE(fs::exists(folders.output / name)) << name;
    EXPECT_FALSE(fs::exists(folders.output / "viva.xml"));
}

} // namespace
