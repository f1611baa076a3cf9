#include "access/integrador_backend.h"

#include "access/integrador_answer.h"
#include "access/integrador_request.h"
#include "core/whole_file.h"
#include "tests/access/folder_events.h"
#include "tests/access/integrador_test_folders.h"
#include "tests/support/wait_until.h"

#include <gtest/gtest.h>

#include <fstream>
#include <future>
#include <sstream>
#include <thread>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Outcome = backend::IntegradorBackend::Outcome;

std::string answerFile(std::string_view identificador, std::string_view retorno,
                       std::string_view erro = {}) {
    std::string xml = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<Integrador>\r\n"
                      "  <Identificador>\r\n    <Valor>" +
                      std::string(identificador) + "</Valor>\r\n  </Identificador>\r\n";
    if (!erro.empty())
        xml += "  <Erro>\r\n    <Valor>" + std::string(erro) + "</Valor>\r\n  </Erro>\r\n";
    else
        xml += "  <IntegradorResposta>\r\n    <Codigo>AP</Codigo>\r\n"
               "    <Valor>Arquivo processado</Valor>\r\n  </IntegradorResposta>\r\n"
               "  <Resposta>\r\n    <retorno>" +
               std::string(retorno) + "</retorno>\r\n  </Resposta>\r\n";
    return xml + "</Integrador>\r\n";
}

class Exchange : public IntegradorFolderTest {
protected:
    void SetUp() override {
        IntegradorFolderTest::SetUp();
        fs::create_directories(folders.input);
        fs::create_directories(folders.output);
        state.answerDocument = "anterior";
    }

    void put(const std::string& name, const std::string& bytes) {
        std::ofstream(folders.output / name, std::ios::binary) << bytes;
    }
    std::vector<std::string> outputFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folders.output))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string call(const char* operation, std::chrono::milliseconds limit = 300ms) {
        backend = std::make_unique<backend::IntegradorBackend>(folders, state, limit);
        return callAgain(operation);
    }
    // A call on the back-end made by the last call(), which another thread may cancel.
    std::string callAgain(const char* operation) {
        const auto* op = core::operationByName(operation);
        core::Arguments arguments;
        for (const auto& p : op->params)
            arguments.push_back(p.type == core::ParamType::Int
                                    ? core::Argument::integer(4321, "004321")
                                    : core::Argument::typed("x", "x"));
        return backend->call(*op, arguments);
    }

    std::unique_ptr<backend::IntegradorBackend> backend;
};

TEST_F(Exchange, TakesMatchesErrorsAndLeavesTheRest) {
    const std::string busyConsultar = "004321|08098|SAT em processamento. Tente novamente.||";
    struct Case {
        const char* title;
        const char* operation;
        std::vector<std::pair<std::string, std::string>> files;
        std::string answer;
        std::vector<std::string> left;
        std::string answerDocument;
    };
    const Case cases[] = {
        {"identifiers are compared as integers",
         "ConsultarSAT",
         {{"a.xml", answerFile("12345", "004321|08000|SAT em operação||")}},
         "004321|08000|SAT em operação||",
         {},
         answerFile("12345", "004321|08000|SAT em operação||").substr(3)},
        {"another request's answer is left alone",
         "ConsultarSAT",
         {{"a.xml", answerFile("00099999", "x|08000|outro||")}},
         busyConsultar,
         {"a.xml"},
         "anterior"},
        {"an error answer is taken whatever its identifier",
         "ConsultarSAT",
         {{"a.xml", answerFile("00099999", "", "Método não encontrado")}},
         "Método não encontrado",
         {},
         "anterior"},
        {"a matching answer with an empty retorno stays and the call ends busy",
         "ConsultarSAT",
         {{"a.xml", answerFile("00012345", "")}},
         busyConsultar,
         {"a.xml"},
         answerFile("00012345", "").substr(3)},
        {"empty folder: busy answer without the zero field",
         "ConsultarSAT",
         {},
         busyConsultar,
         {},
         "anterior"},
        {"empty folder: busy answer of the cancellation with the zero field",
         "CancelarUltimaVenda",
         {},
         "004321|07098|0000|SAT em processamento. Tente novamente.||",
         {},
         "anterior"},
        {"only .xml files are read",
         "ConsultarSAT",
         {{"a.tmp", answerFile("00012345", "nao")}, {"b.XML", answerFile("00012345", "sim")}},
         "sim",
         {"a.tmp"},
         answerFile("00012345", "sim").substr(3)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        fs::remove_all(folders.output);
        fs::create_directories(folders.output);
        state.answerDocument = "anterior";
        for (const auto& [name, bytes] : c.files)
            put(name, bytes);
        // An answer waiting in the folder is taken at the first look, however late that comes.
        const bool busy = c.answer.find("SAT em processamento") != std::string::npos;
        EXPECT_EQ(call(c.operation, busy ? 300ms : 30s), c.answer);
        EXPECT_EQ(backend->lastOutcome(), busy ? Outcome::TimedOut : Outcome::Answered);
        EXPECT_EQ(outputFiles(), c.left);
        EXPECT_EQ(state.answerDocument, c.answerDocument);
        EXPECT_TRUE(backend->skippedFiles().empty());
    }
    // Every call left its request in the input folder, under its final name.
    EXPECT_TRUE(fs::exists(folders.input / "ConsultarMFe00012345.xml"));
    EXPECT_TRUE(fs::exists(folders.input / "CancelarUltimaVenda00012345.xml"));
}

TEST_F(Exchange, WithoutTheInputFolderTheAnswerIsTheWriteFailureAtOnce) {
    fs::remove_all(folders.input);
    constexpr auto limit = 60s;
    const auto start = Clock::now();
    EXPECT_EQ(call("ConsultarSAT", limit), backend::integradorWriteFailure());
    EXPECT_EQ(backend->lastOutcome(), Outcome::NotWritten);
    EXPECT_LT(Clock::now() - start, limit / 3) << "the call waited";
    EXPECT_FALSE(fs::exists(folders.input));
}

TEST_F(Exchange, AnAnswerArrivingDuringTheWaitIsTakenPromptly) {
    constexpr auto limit = 30s;
    Clock::time_point answered;
    std::thread integrador([&] {
        // The answer comes once the request is there: while the call waits.
        EXPECT_TRUE(test_support::waitUntil(
            [&] { return fs::exists(folders.input / "ConsultarMFe00012345.xml"); }, limit));
        answered = Clock::now();
        std::string error;
        core::writeFileWhole(folders.output / "r.xml", answerFile("00012345", "ok"), error);
    });
    EXPECT_EQ(call("ConsultarSAT", limit), "ok");
    const auto taken = Clock::now();
    integrador.join();
    EXPECT_LT(taken - answered, limit / 3) << "taken near the limit, not when it came";
}

TEST_F(Exchange, AHalfWrittenFileIsTakenOnceComplete) {
    const std::string whole = answerFile("00012345", "completo");
    const std::size_t half = whole.size() / 2;
    std::ofstream writer(folders.output / "r.xml", std::ios::binary);
    writer << whole.substr(0, half) << std::flush;
    FolderEvents events(folders.output);
    constexpr auto limit = 30s;
    std::thread integrador([&] {
        // The rest comes once the call has read the half.
        EXPECT_TRUE(events.awaitRead("r.xml", 1, limit));
        writer << whole.substr(half);
        writer.close();
    });
    EXPECT_EQ(call("ConsultarSAT", limit), "completo");
    integrador.join();
    EXPECT_TRUE(backend->skippedFiles().empty());
}

TEST_F(Exchange, AGarbageFileIsSkippedAndReportedAndTheAnswerStillTaken) {
    // Garbage left from long ago is given up at first sight; the answer after it is taken.
    put("0-lixo.xml", "isto não é XML");
    fs::last_write_time(folders.output / "0-lixo.xml", fs::file_time_type::clock::now() - 1h);
    FolderEvents events(folders.output);
    constexpr auto limit = 30s;
    std::thread integrador([&] {
        // The answer comes once the call has read the garbage.
        EXPECT_TRUE(events.awaitRead("0-lixo.xml", 1, limit));
        put("1-resposta.xml", answerFile("00012345", "resposta"));
    });
    EXPECT_EQ(call("ConsultarSAT", limit), "resposta");
    integrador.join();
    ASSERT_EQ(backend->skippedFiles().size(), 1u);
    EXPECT_EQ(backend->skippedFiles()[0].name, "0-lixo.xml");
    EXPECT_FALSE(backend->skippedFiles()[0].message.empty());
    EXPECT_EQ(outputFiles(), std::vector<std::string>{"0-lixo.xml"});

    // Fresh garbage that stops changing is given up after two seconds, reported once, and
    // does not end the call with an error.
    put("2-lixo.xml", "<Integrador>");
    const auto grace = std::chrono::duration_cast<std::chrono::milliseconds>(
        backend::AnswerReader::unparsableGrace);
    EXPECT_EQ(call("ConsultarSAT", grace + 1s),
              "004321|08098|SAT em processamento. Tente novamente.||");
    ASSERT_EQ(backend->skippedFiles().size(), 2u);
    EXPECT_EQ(backend->skippedFiles()[1].name, "2-lixo.xml");
}

TEST_F(Exchange, AGivenUpFileThatChangesIsJudgedAgainAndNamedAtMostOnce) {
    // Old garbage is given up at once; a file that takes its place (renamed in, keeping its own
    // modification time) is judged afresh.
    const auto replace = [&](const std::string& name, const std::string& bytes) {
        const auto temporary = root / name;
        std::ofstream(temporary, std::ios::binary) << bytes;
        fs::last_write_time(temporary, fs::file_time_type::clock::now() - 1h);
        fs::rename(temporary, folders.output / name);
    };
    struct Case {
        const char* title;
        std::string replacement; // what takes the garbage's place during the call
        bool answerFollows;      // whether the answer comes afterwards in a file of its own
        std::vector<std::string> skipped;
    };
    const Case cases[] = {
        {"still garbage: named once", "outro lixo, mais longo", true, {"a.xml"}},
        {"now the answer: taken and not named", answerFile("00012345", "resposta"), false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        fs::remove_all(folders.output);
        fs::create_directories(folders.output);
        replace("a.xml", "lixo");
        FolderEvents events(folders.output);
        constexpr auto limit = 30s;
        std::thread integrador([&] {
            // Replaced once the call has read the garbage (and given it up, as it is old); the
            // answer comes once the call has read the replacement.
            EXPECT_TRUE(events.awaitRead("a.xml", 1, limit));
            replace("a.xml", c.replacement);
            if (c.answerFollows) {
                EXPECT_TRUE(events.awaitRead("a.xml", 2, limit));
                put("b.xml", answerFile("00012345", "resposta"));
            }
        });
        EXPECT_EQ(call("ConsultarSAT", limit), "resposta");
        integrador.join();
        std::vector<std::string> skipped;
        for (const auto& file : backend->skippedFiles())
            skipped.push_back(file.name);
        EXPECT_EQ(skipped, c.skipped);
    }
}

TEST_F(Exchange, AFileExaminedAndUnchangedIsNotReadAgain) {
    const auto file = folders.output / "a.xml";
    put("a.xml", answerFile("00099999", "outro"));
    const auto modified = fs::last_write_time(file);
    FolderEvents events(folders.output);
    backend = std::make_unique<backend::IntegradorBackend>(folders, state, 30s);
    std::thread integrador([&] {
        // Replaced once the call has read it. Same size, same modification time: the call's
        // verdict on it stands.
        EXPECT_TRUE(events.awaitRead("a.xml", 1));
        const auto replacement = root / "a.xml";
        std::ofstream(replacement, std::ios::binary) << answerFile("00012345", "outro");
        fs::last_write_time(replacement, modified);
        fs::rename(replacement, file);
        // The call ends once a whole look at the folder has begun and ended since.
        EXPECT_TRUE(events.awaitLooksAfterArrival("a.xml", 2));
        backend->cancel();
    });
    EXPECT_EQ(callAgain("ConsultarSAT"), "004321|08098|SAT em processamento. Tente novamente.||");
    integrador.join();
    EXPECT_TRUE(fs::exists(file));
}

TEST_F(Exchange, CancelEndsTheWaitAtOnceWithTheBusyAnswer) {
    constexpr auto limit = 30s;
    backend = std::make_unique<backend::IntegradorBackend>(folders, state, limit);
    const auto& op = *core::operationByName("EnviarDadosVenda");
    const core::Arguments arguments = {core::Argument::integer(4321, "004321"),
                                       core::Argument::typed("x", "x"),
                                       core::Argument::document("<CFe/>", "<CFe/>")};
    backend->cancel(); // no call waiting: ignored
    Clock::time_point cancelledAt;
    std::thread window([&] {
        // Cancelled once the request is there: while the call waits.
        EXPECT_TRUE(test_support::waitUntil(
            [&] {
                return fs::exists(folders.input /
                                  backend::requestFileName(op, state.requestIdentifier));
            },
            limit));
        cancelledAt = Clock::now();
        backend->cancel();
    });
    EXPECT_EQ(backend->call(op, arguments),
              "004321|06098|0000|SAT em processamento. Tente novamente.||");
    const auto ended = Clock::now();
    window.join();
    EXPECT_LT(ended - cancelledAt, limit / 3) << "the wait went on after the cancel";
    EXPECT_EQ(backend->lastOutcome(), Outcome::Cancelled);
}

TEST_F(Exchange, ACancelWhileTheRequestIsStillBeingWrittenIsNotLost) {
#ifdef _WIN32
    GTEST_SKIP() << "the request is written into a FIFO, which Windows does not have";
#else
    // The request goes through a pipe, so the test decides when its writing is over: the cancel
    // comes while the call holds the pipe open, before any wait has begun. The pipe stands at
    // the temporary name of the calling thread's writes.
    constexpr auto limit = 30s;
    backend = std::make_unique<backend::IntegradorBackend>(folders, state, limit);
    std::string answer;
    std::promise<std::filesystem::path> pipeMade;
    std::thread worker([&] {
        const auto made = core::temporaryFileFor(folders.input / "ConsultarMFe00012345.xml");
        pipeMade.set_value(mkfifo(made.c_str(), 0600) == 0 ? made : std::filesystem::path());
        answer = backend->call(*core::operationByName("ConsultarSAT"),
                               {core::Argument::integer(4321, "004321")});
    });
    const auto pipe = pipeMade.get_future().get();
    // returns once the call opened it to write
    const int reader = pipe.empty() ? -1 : open(pipe.c_str(), O_RDONLY);
    if (reader < 0) {
        worker.join();
        FAIL() << "no pipe at the request's temporary name";
    }
    backend->cancel();
    const auto cancelledAt = Clock::now();
    char buffer[4096];
    while (read(reader, buffer, sizeof buffer) > 0) {
    }
    close(reader);
    worker.join();
    EXPECT_EQ(answer, "004321|08098|SAT em processamento. Tente novamente.||");
    EXPECT_EQ(backend->lastOutcome(), Outcome::Cancelled);
    EXPECT_LT(Clock::now() - cancelledAt, limit / 3) << "the wait went on after the cancel";
#endif
}

} // namespace
