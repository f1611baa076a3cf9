// The module library called through the library host: what reaches the library and what comes
// back is what the in-process call gives, and a library that crashes, hangs, prints or answers
// hugely ends at most the host.

#include "access/driver_library.h"
#include "access/host_protocol.h"
#include "access/hosted_library.h"
#include "access/library_backend.h"
#include "access/library_ended.h"
#include "access/passed_arguments.h"
#include "tests/portable.h"
#include "tests/support/wait_until.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <sstream>
#include <thread>

#ifndef _WIN32
#include <csignal>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

namespace {

namespace fs = std::filesystem;
using backend::LibraryEnded;
using core::Argument;
using ::testing::HasSubstr;
using ::testing::StartsWith;

const core::Operation& operation(const char* name) {
    return *core::operationByName(name);
}

const core::Arguments consultar{Argument::integer(12, "000012")};
const core::Arguments withCode{Argument::integer(12, "000012"), Argument::typed("12345678", "")};
constexpr const char* fakeAnswer = "000000|08000|SAT em operação||";

std::string contentOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

class LibraryHost : public testing::Test {
protected:
    void TearDown() override {
        portable::unsetVariable("FAKE_MFE_MISBEHAVE");
        portable::unsetVariable("FAKE_MFE_CALLS");
        portable::unsetVariable("FAKE_MFE_ANSWER");
        portable::unsetVariable("ROGUE_HOST_REPLY");
    }

    static std::unique_ptr<backend::HostedLibrary>
    hosted(const fs::path& host = TARVIK_LIBRARY_HOST, const std::string& path = FAKE_LIBRARY) {
        std::string error;
        auto library = backend::HostedLibrary::load(host, path, error);
        EXPECT_TRUE(library) << error;
        return library;
    }

    // The call's failure; fails the test when the call answered.
    static LibraryEnded endedCall(backend::LibraryBackend& library, const char* name,
                                  const core::Arguments& arguments) {
        try {
            const std::string answer = library.call(operation(name), arguments);
            ADD_FAILURE() << name << " answered " << answer.substr(0, 80);
        } catch (const LibraryEnded& ended) {
            return ended;
        }
        return LibraryEnded(LibraryEnded::Cause::Cancelled, "");
    }
};

// Every operation's arguments as the in-process call passes them: typed text in the module's
// code page, documents byte for byte, integers of both signs; and the answers alike.
TEST_F(LibraryHost, TheLibraryReceivesAndReturnsWhatTheInProcessCallGives) {
    const std::string document = "<CFe>\r\nção \xC3\xA9\x01\xFF</CFe>\r\n";
    const std::vector<std::pair<const char*, core::Arguments>> calls = {
        {"ConsultarSAT", consultar},
        {"AtivarSAT",
         {Argument::integer(1, ""), Argument::integer(2, ""), Argument::typed("código1", ""),
          Argument::typed("11222333000181", ""), Argument::integer(35, "")}},
        {"TrocarCodigoDeAtivacao",
         {Argument::integer(2, ""), Argument::typed("a", ""), Argument::integer(2, ""),
          Argument::typed("", ""), Argument::typed("ç", "")}},
        {"EnviarDadosVenda",
         {Argument::integer(3, ""), Argument::typed("x", ""), Argument::document(document, "")}},
        {"ConsultarNumeroSessao",
         {Argument::integer(4, ""), Argument::typed("x", ""), Argument::integer(-7, "")}},
        {"AssociarAssinatura",
         {Argument::integer(5, ""), Argument::typed("x", ""), Argument::typed("1|2", ""),
          Argument::typed("assinatura", "")}},
    };
    const fs::path record = fs::temp_directory_path() /
                            ("host-calls-" + std::to_string(portable::processId()) + ".txt");
    portable::setVariable("FAKE_MFE_CALLS", record.string());
    const std::string answer = "000001|08000|Resposta com ção e \t|x|";
    portable::setVariable("FAKE_MFE_ANSWER", answer);
    const auto callAll = [&](backend::LibraryBackend& library) {
        fs::remove(record);
        std::vector<std::string> answers;
        for (const auto& [name, arguments] : calls)
            answers.push_back(library.call(operation(name), arguments));
        return std::make_pair(contentOf(record), answers);
    };

    std::string error;
    auto inProcess = backend::DriverLibrary::load(FAKE_LIBRARY, error);
    ASSERT_TRUE(inProcess) << error;
    const auto direct = callAll(*inProcess);
    auto host = hosted();
    ASSERT_TRUE(host);
    const auto throughHost = callAll(*host);
    fs::remove(record);

    EXPECT_THAT(direct.first, HasSubstr("AtivarSAT|1|2|c\xF3"
                                        "digo1|11222333000181|35\n"));
    EXPECT_THAT(direct.first, HasSubstr(document));
    EXPECT_EQ(throughHost.first, direct.first);
    EXPECT_EQ(throughHost.second, direct.second);
    EXPECT_EQ(direct.second.front(), answer);
}

TEST_F(LibraryHost, MissingEntryPointsAreKnownWithoutACall) {
    auto host = hosted(TARVIK_LIBRARY_HOST, FAKE_PARTIAL_LIBRARY);
    ASSERT_TRUE(host);
    EXPECT_FALSE(host->has(operation("ConsultarSAT")));
    EXPECT_TRUE(host->has(operation("BloquearSAT")));
    EXPECT_EQ(host->call(operation("ConsultarSAT"), consultar),
              "Função ConsultarSAT não encontrada na biblioteca.");
}

// A library that cannot be loaded fails the same way in both: the loader's own words.
TEST_F(LibraryHost, ALibraryThatCannotBeLoadedGivesTheLoadersErrorAsInProcess) {
    const fs::path file = fs::temp_directory_path() /
                          ("not-a-library-" + std::to_string(portable::processId()) + ".so");
    std::ofstream(file) << "plain text";
    std::string inProcessError, hostError;
    EXPECT_FALSE(backend::DriverLibrary::load(file.string(), inProcessError));
    EXPECT_FALSE(backend::HostedLibrary::load(TARVIK_LIBRARY_HOST, file.string(), hostError));
    EXPECT_EQ(hostError, inProcessError);
    fs::remove(file);

    std::string noHost;
    EXPECT_FALSE(backend::HostedLibrary::load(
        fs::path(TARVIK_LIBRARY_HOST).parent_path() / "no-such-host", FAKE_LIBRARY, noHost));
    EXPECT_FALSE(noHost.empty());
}

// How the host ended, as the call's message says it, where the platform and the build tell.
std::string expectedEnd(const std::string& how) {
#ifdef _WIN32
    if (how == "crash")
        return "(exceção 0xC0000005)";
    if (how == "abort")
        return "(código de saída 3)";
#else
#if defined(__SANITIZE_ADDRESS__)
    if (how == "crash") // AddressSanitizer reports the fault and exits with 1
        return "(código de saída 1)";
#endif
    if (how == "crash")
        return "(sinal 11 (SIGSEGV))";
    if (how == "abort")
        return "(sinal 6 (SIGABRT))";
#endif
    return "(código de saída 7)";
}

// (The host takes the fake's steering from the environment it starts with.)
TEST_F(LibraryHost, ACrashEndsOnlyTheHostAndTheNextCallStartsANewOne) {
    for (const std::string how : {"crash", "abort", "exit"}) {
        SCOPED_TRACE(how);
        portable::setVariable("FAKE_MFE_MISBEHAVE", how);
        auto host = hosted();
        ASSERT_TRUE(host);
        const LibraryEnded ended = endedCall(*host, "ConsultarStatusOperacional", withCode);
        EXPECT_EQ(ended.cause(), LibraryEnded::Cause::Crashed);
        EXPECT_EQ(std::string(ended.what()),
                  "a biblioteca encerrou durante a chamada " + expectedEnd(how));
        EXPECT_THAT(backend::answerOfEndedCall(ended, operation("ConsultarStatusOperacional"), 12),
                    StartsWith("a biblioteca encerrou durante a chamada"));
        portable::unsetVariable("FAKE_MFE_MISBEHAVE");
        EXPECT_EQ(host->call(operation("ConsultarSAT"), consultar), fakeAnswer);
    }
}

// What the library prints goes to standard error, never into the answers' channel; an answer of
// 4 MiB arrives whole.
TEST_F(LibraryHost, PrintingAndHugeAnswersLeaveTheAnswersIntact) {
    portable::setVariable("FAKE_MFE_MISBEHAVE", "stdout");
    auto printing = hosted();
    ASSERT_TRUE(printing);
    EXPECT_EQ(printing->call(operation("ConsultarSAT"), consultar), fakeAnswer);
    EXPECT_EQ(printing->call(operation("ConsultarSAT"), consultar), fakeAnswer);

    portable::setVariable("FAKE_MFE_MISBEHAVE", "huge");
    auto huge = hosted();
    ASSERT_TRUE(huge);
    const std::string answer = huge->call(operation("ConsultarSAT"), consultar);
    const std::string expected = "000000|08000|" + std::string(4 * 1024 * 1024, 'x') + "|";
    EXPECT_TRUE(answer == expected) << answer.size() << " bytes: " << answer.substr(0, 40);
}

// Cancelling a hung call ends the host, so the call really stops; the page then shows the
// busy answer, as for a cancelled Integrador call.
TEST_F(LibraryHost, CancellingAHungCallEndsTheHost) {
    portable::setVariable("FAKE_MFE_MISBEHAVE", "hang");
    auto host = hosted();
    ASSERT_TRUE(host);
    auto call =
        std::async(std::launch::async, [&] { return endedCall(*host, "BloquearSAT", withCode); });
    // Repeated: a cancel that comes before the call has reached the host is ignored.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (call.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready &&
           std::chrono::steady_clock::now() < giveUp)
        host->cancel();
    ASSERT_EQ(call.wait_for(std::chrono::seconds(0)), std::future_status::ready)
        << "the hung call was not stopped";
    const LibraryEnded ended = call.get();
    EXPECT_EQ(ended.cause(), LibraryEnded::Cause::Cancelled);
    EXPECT_EQ(backend::answerOfEndedCall(ended, operation("BloquearSAT"), 12),
              "000012|16098|SAT em processamento. Tente novamente.||");
    portable::unsetVariable("FAKE_MFE_MISBEHAVE");
    EXPECT_EQ(host->call(operation("ConsultarSAT"), consultar), fakeAnswer);
}

#ifndef _WIN32
// A host stuck in a library call still ends once its input closes: the program that started it
// has gone, however it went, and the host never outlives it. Ctrl-C alone does not end it.
TEST_F(LibraryHost, AHostStuckInACallEndsWhenItsInputCloses) {
    const fs::path calls = fs::temp_directory_path() / ("host-calls-" + std::to_string(getpid()));
    fs::remove(calls);
    portable::setVariable("FAKE_MFE_MISBEHAVE", "hang");
    portable::setVariable("FAKE_MFE_CALLS", calls.string());
    int ends[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], 0);
    posix_spawn_file_actions_adddup2(&actions, ends[1], 1);
    char* argv[] = {const_cast<char*>(TARVIK_LIBRARY_HOST), nullptr};
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, TARVIK_LIBRARY_HOST, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
    ASSERT_EQ(failed, 0);

    namespace host = backend::host;
    const auto send = [&](const host::Request& request) {
        const std::string bytes = host::encode(request);
        return ::write(ends[0], bytes.data(), bytes.size()) == ssize_t(bytes.size());
    };
    const auto receive = [&](char* buffer, std::size_t size) {
        const ssize_t got = ::read(ends[0], buffer, size);
        return got > 0 ? std::size_t(got) : 0;
    };
    std::string payload;
    EXPECT_TRUE(send(host::LoadRequest{FAKE_LIBRARY}));
    EXPECT_EQ(host::readFrame(receive, payload), host::FrameStatus::Complete);
    const core::Operation& bloquear = operation("BloquearSAT");
    EXPECT_TRUE(send(host::CallRequest{std::uint8_t(backend::entryPointIndex(bloquear)),
                                       backend::passedArguments(bloquear, withCode)}));
    EXPECT_TRUE(test_support::waitUntil([&] { return !contentOf(calls).empty(); }));
    ::kill(pid, SIGINT); // as the terminal's Ctrl-C reaches it
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    int status = 0;
    const bool interrupted = waitpid(pid, &status, WNOHANG) == pid;
    EXPECT_FALSE(interrupted) << "Ctrl-C ended the host";

    close(ends[0]);
    const bool ended = interrupted || test_support::waitUntil(
                                          [&] { return waitpid(pid, &status, WNOHANG) == pid; });
    if (!ended) {
        ::kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    EXPECT_TRUE(ended) << "the host outlived its input";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    fs::remove(calls);
}
#endif

// A host that breaks the protocol is treated as one that crashed, never as an answer.
TEST_F(LibraryHost, AMalformedTruncatedOrOversizedFrameIsACrash) {
    const std::pair<const char*, const char*> cases[] = {
        {"truncated", "a biblioteca encerrou durante a chamada (código de saída 0)"},
        {"oversize", "a biblioteca encerrou durante a chamada (resposta maior que o limite de "
                     "64 MiB)"},
        {"garbage", "a biblioteca encerrou durante a chamada (resposta malformada)"},
        {"load-reply", "a biblioteca encerrou durante a chamada (resposta malformada)"},
    };
    for (const auto& [how, message] : cases) {
        SCOPED_TRACE(how);
        portable::setVariable("ROGUE_HOST_REPLY", how);
        auto rogue = hosted(ROGUE_HOST, "any");
        ASSERT_TRUE(rogue);
        const LibraryEnded ended = endedCall(*rogue, "ConsultarSAT", consultar);
        EXPECT_EQ(ended.cause(), LibraryEnded::Cause::Crashed);
        EXPECT_EQ(std::string(ended.what()), message);
    }
}

// The architecture is read from the file's header; a library of another one is refused before
// anything tries to load it, with both architectures named.
TEST(LibraryArchitecture, IsReadFromTheHeaderAndAForeignOneIsNamed) {
    const fs::path folder =
        fs::temp_directory_path() / ("architectures-" + std::to_string(portable::processId()));
    fs::create_directories(folder);
    const auto pe = [&](const char* name, unsigned char low, unsigned char high) {
        std::string bytes(0x80, '\0');
        bytes[0] = 'M';
        bytes[1] = 'Z';
        bytes[0x3C] = 0x40;
        bytes.replace(0x40, 6, std::string{'P', 'E', '\0', '\0', char(low), char(high)});
        std::ofstream(folder / name, std::ios::binary) << bytes;
        return folder / name;
    };
    const fs::path text = folder / "text.dll";
    std::ofstream(text) << "plain text";
    const struct {
        fs::path file;
        backend::Architecture expected;
    } cases[] = {
        {pe("x86.dll", 0x4C, 0x01), backend::Architecture::X86},
        {pe("x64.dll", 0x64, 0x86), backend::Architecture::X86_64},
        {pe("arm64.dll", 0x64, 0xAA), backend::Architecture::Arm64},
        {text, backend::Architecture::Unknown},
        {folder / "missing.dll", backend::Architecture::Unknown},
        {FAKE_LIBRARY, backend::programArchitecture()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(backend::libraryArchitecture(c.file), c.expected) << c.file;

    // No host of this folder loads a 32-bit library for this 64-bit program.
    for (const auto way : {backend::LibraryWay::Host, backend::LibraryWay::InProcess}) {
        const auto opened = backend::openLibrary((folder / "x86.dll").string(), way, folder);
        EXPECT_FALSE(opened.library);
        EXPECT_TRUE(opened.wrongArchitecture);
        EXPECT_THAT(opened.error, StartsWith("A biblioteca é de 32 bits (x86) e este programa é "
                                             "de 64 bits (x86-64)."));
    }
    fs::remove_all(folder);
}

} // namespace
