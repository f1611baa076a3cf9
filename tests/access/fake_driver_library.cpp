// A stand-in driver library for tests: it exports the sixteen module functions, answers with
// the text a test sets (after a delay a test may set), and records what each call received, so a
// test can compare what was sent with what the window showed. Built with FAKE_WITHOUT_CONSULTAR_SAT
// it lacks one entry point. It also counts the threads its functions were called from. A test that
// runs a program in a process of its own steers it through the environment: FAKE_MFE_ANSWER is the
// answer to every call, FAKE_MFE_DELAY_MS its delay, and each call is appended as one line to the
// file FAKE_MFE_CALLS names (name and arguments separated by "|"). FAKE_MFE_MISBEHAVE makes every
// call misbehave as closed libraries have been seen to: "crash" (a write through a null pointer),
// "abort", "exit" (the process exits with status 7), "hang" (never returns), "stdout" (prints to
// standard output, then answers) or "huge" (a 4 MiB answer).

#include "core/mfe_call.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

std::string answer = "000000|08000|SAT em operação||";
std::string lastCall;
int callCount = 0;
std::string buffer;
int delayMs = 0;
int callThreads = 0; // a thread id may be reused once its thread has ended; a thread_local is not
thread_local bool calledFromThisThread = false;

// An environment variable as UTF-8 (on Windows read in UTF-16: getenv gives the ANSI code page,
// which would turn an answer's accents into bytes that are not UTF-8).
std::optional<std::string> variable(const char* name) {
#ifdef _WIN32
    const std::wstring wideName(name, name + std::char_traits<char>::length(name));
    const wchar_t* value = _wgetenv(wideName.c_str());
    if (!value)
        return std::nullopt;
    const int size = WideCharToMultiByte(CP_UTF8, 0, value, -1, nullptr, 0, nullptr, nullptr);
    std::string text(size > 0 ? size - 1 : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, value, -1, text.data(), size, nullptr, nullptr);
    return text;
#else
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
#endif
}

void record(const char* name, std::initializer_list<std::string> args) {
    if (!calledFromThisThread) {
        calledFromThisThread = true;
        ++callThreads;
    }
    ++callCount;
    lastCall = name;
    for (const auto& a : args)
        lastCall += "\x1f" + a;
    if (const auto calls = variable("FAKE_MFE_CALLS")) {
        std::ofstream file(*calls, std::ios::app | std::ios::binary);
        file << name;
        for (const auto& a : args)
            file << "|" << a;
        file << "\n";
    }
}

std::string num(int value) {
    return std::to_string(value);
}
std::string txt(const char* value) {
    return value ? value : "<null>";
}

// Does what FAKE_MFE_MISBEHAVE asks, if anything.
void misbehave() {
    // Read from volatile storage, so the compiler cannot see it is null and must emit the write.
    static volatile int* volatile nowhere = nullptr;
    const auto how = variable("FAKE_MFE_MISBEHAVE");
    if (!how)
        return;
    if (*how == "crash")
        *nowhere = 1;
    if (*how == "abort")
        std::abort();
    if (*how == "exit")
        std::_Exit(7);
    if (*how == "hang")
        for (;;)
            std::this_thread::sleep_for(std::chrono::hours(1));
    if (*how == "stdout") {
        std::printf("000000|99999|printed by the library|\n");
        std::fflush(stdout);
    }
    if (*how == "huge")
        buffer = "000000|08000|" + std::string(4 * 1024 * 1024, 'x') + "|";
}

const char* reply() {
    const auto delay = variable("FAKE_MFE_DELAY_MS");
    const int ms = delay ? std::atoi(delay->c_str()) : delayMs;
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    buffer = variable("FAKE_MFE_ANSWER").value_or(answer); // the same buffer every call, as real
                                                           // libraries do
    misbehave();
    return buffer.c_str();
}

} // namespace

#ifdef _WIN32
#define EXPORT extern "C" __declspec(dllexport)
#else
#define EXPORT extern "C" __attribute__((visibility("default")))
#endif
// The module's functions, in the module's calling convention; the fake_ controls are plain C.
#define MODULE_EXPORT EXPORT const char* MFE_CALL

EXPORT void fake_set_answer(const char* text) {
    answer = text;
}
EXPORT const char* fake_last_call() {
    return lastCall.c_str();
}
EXPORT void fake_set_delay_ms(int ms) {
    delayMs = ms;
}
EXPORT int fake_call_threads() {
    return callThreads;
}
EXPORT int fake_call_count() {
    return callCount;
}

#ifndef FAKE_WITHOUT_CONSULTAR_SAT
MODULE_EXPORT ConsultarSAT(int s) {
    record("ConsultarSAT", {num(s)});
    return reply();
}
#endif
MODULE_EXPORT ConfigurarInterfaceDeRede(int s, const char* c, const char* d) {
    record("ConfigurarInterfaceDeRede", {num(s), txt(c), txt(d)});
    return reply();
}
MODULE_EXPORT ConfigurarInterfaceDeRedeMFE(int s, const char* c, const char* d) {
    record("ConfigurarInterfaceDeRedeMFE", {num(s), txt(c), txt(d)});
    return reply();
}
MODULE_EXPORT AtivarSAT(int s, int sub, const char* c, const char* cnpj, int uf) {
    record("AtivarSAT", {num(s), num(sub), txt(c), txt(cnpj), num(uf)});
    return reply();
}
MODULE_EXPORT AssociarAssinatura(int s, const char* c, const char* v, const char* a) {
    record("AssociarAssinatura", {num(s), txt(c), txt(v), txt(a)});
    return reply();
}
MODULE_EXPORT TesteFimAFim(int s, const char* c, const char* d) {
    record("TesteFimAFim", {num(s), txt(c), txt(d)});
    return reply();
}
MODULE_EXPORT EnviarDadosVenda(int s, const char* c, const char* d) {
    record("EnviarDadosVenda", {num(s), txt(c), txt(d)});
    return reply();
}
MODULE_EXPORT CancelarUltimaVenda(int s, const char* c, const char* k, const char* d) {
    record("CancelarUltimaVenda", {num(s), txt(c), txt(k), txt(d)});
    return reply();
}
MODULE_EXPORT TrocarCodigoDeAtivacao(int s, const char* c, int o, const char* n, const char* n2) {
    record("TrocarCodigoDeAtivacao", {num(s), txt(c), num(o), txt(n), txt(n2)});
    return reply();
}
MODULE_EXPORT ConsultarNumeroSessao(int s, const char* c, int n) {
    record("ConsultarNumeroSessao", {num(s), txt(c), num(n)});
    return reply();
}

#define CODE_ONLY(Name)                                                                            \
    MODULE_EXPORT Name(int s, const char* c) {                                                     \
        record(#Name, {num(s), txt(c)});                                                           \
        return reply();                                                                            \
    }
CODE_ONLY(ConsultarStatusOperacional)
CODE_ONLY(ConsultarStatusOperacionalMFE)
CODE_ONLY(ExtrairLogs)
CODE_ONLY(BloquearSAT)
CODE_ONLY(DesbloquearSAT)
CODE_ONLY(AtualizarSoftwareSAT)
