#pragma once
// One call as the journal keeps it: when and from where it was made, what was sent (secrets
// masked), what came back byte for byte, and the files it wrote.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace journal {

enum class Outcome {
    Answered,
    Busy, // the module or the Integrador answered with the operation's busy code
    Cancelled,
    LibraryCrashed,
    Unreachable,
    Refused, // the program refused before calling the module
};

// The outcome's word as the journal stores and shows it ("respondida", "ocupado"...).
std::string_view outcomeName(Outcome outcome);
std::optional<Outcome> outcomeNamed(std::string_view name);

struct WrittenFile {
    std::string path;   // UTF-8
    std::string sha256; // lower-case hexadecimal; empty when the file could not be read
};

struct CallEntry {
    std::int64_t id = 0; // given by the journal
    std::chrono::system_clock::time_point start;
    std::string startLocal; // "2026-12-11 00:23:44 -0300"
    std::chrono::microseconds duration{0};
    std::string programVersion;
    std::string frontEnd;   // "janela" or "tarvik"
    std::string accessMode; // "DLL" or "INTEGRADOR"
    std::string target;     // the library's path and version, or the Integrador folder
    std::string layout;
    std::string operation;
    std::string session;
    std::string callText; // as shown, secrets masked
    std::string request;  // the Integrador request document, secrets masked
    std::string answer;   // the raw answer bytes
    std::string answerCode;
    Outcome outcome = Outcome::Answered;
    std::string message; // why a call was refused or ended without the module's answer
    std::string inputs;  // the inputs as a JSON object, secrets masked
    std::string report;  // the lines the page's report wrote, one per line
    std::vector<WrittenFile> files;
};

} // namespace journal
