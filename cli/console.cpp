#include "cli/console.h"

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>
#endif

namespace cli {

#ifdef _WIN32

namespace {

std::string utf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size - 1 : 0, '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    return out;
}

} // namespace

std::vector<std::string> utf8Arguments(int, char**) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; wide && i < count; ++i)
        args.push_back(utf8(wide[i]));
    LocalFree(wide);
    return args;
}

Utf8ConsoleOutput::Utf8ConsoleOutput() : previous_(GetConsoleOutputCP()) {
    if (previous_ != 0)
        SetConsoleOutputCP(CP_UTF8);
}

Utf8ConsoleOutput::~Utf8ConsoleOutput() {
    if (previous_ != 0)
        SetConsoleOutputCP(previous_);
}

#else

std::vector<std::string> utf8Arguments(int argc, char** argv) {
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>{};
}

Utf8ConsoleOutput::Utf8ConsoleOutput() = default;
Utf8ConsoleOutput::~Utf8ConsoleOutput() = default;

#endif

} // namespace cli
