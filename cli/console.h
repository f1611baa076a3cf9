#pragma once
// The command line's text in and out as UTF-8 on every platform.

#include <string>
#include <vector>

namespace cli {

// The arguments after the program name, as UTF-8. On Windows they are read from the UTF-16
// command line, since argv holds them in the ANSI code page.
std::vector<std::string> utf8Arguments(int argc, char** argv);

// While it lives, the console shows the program's UTF-8 output as such (Windows consoles expect
// the OEM code page); the console's own code page comes back afterwards. Nothing elsewhere.
class Utf8ConsoleOutput {
public:
    Utf8ConsoleOutput();
    ~Utf8ConsoleOutput();
    Utf8ConsoleOutput(const Utf8ConsoleOutput&) = delete;
    Utf8ConsoleOutput& operator=(const Utf8ConsoleOutput&) = delete;

private:
    unsigned previous_ = 0;
};

} // namespace cli
