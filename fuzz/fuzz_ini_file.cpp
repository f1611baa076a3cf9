// The INI reader and writer, on any file: the input is the file's text, a section, a key and a
// value, and a second section and key, separated by NUL bytes. Reading never fails on a readable
// file; after the key is written through the file, it reads back as written (for names and a
// value an INI line can hold), and every other key reads as before.

#include "fuzz/fuzz_support.h"
#include "settings/ini_file.h"

#include <algorithm>
#include <cctype>

namespace {

bool blank(char c) {
    return c == ' ' || c == '\t';
}

bool printable(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x20 && c != 0x7F; });
}

bool holdsValue(std::string_view text) {
    return text.empty() || (printable(text) && !blank(text.front()) && !blank(text.back()));
}

// A name one line of the file can hold without being read as something else.
bool holdsName(std::string_view name, std::string_view forbidden) {
    return !name.empty() && holdsValue(name) && name.find_first_of(forbidden) == name.npos;
}

bool holdsUnquoted(std::string_view value) {
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    return holdsValue(value) && !quoted;
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto in = fuzz::parts({reinterpret_cast<const char*>(data), size}, '\0', 6);
    const std::string& text = in[0];
    const std::string& section = in[1];
    const std::string& key = in[2];
    const std::string& value = in[3];
    const std::string& otherSection = in[4];
    const std::string& otherKey = in[5];

    const std::string file = (fuzz::scratchFolder() / "tarvikplus.ini").string();
    fuzz::writeFile(file, text);
    const auto otherBefore = settings::readProfileString(file, otherSection, otherKey);
    settings::readProfileString(file, section, key);

    if (!holdsName(section, "[]") || !holdsName(key, "=[;#") || !holdsUnquoted(value))
        return 0;
    fuzz::require(settings::writeProfileString(file, section, key, value), "the file is written");
    fuzz::require(settings::readProfileString(file, section, key) == value,
                  "a written key reads back", value);
    if (!(sameName(section, otherSection) && sameName(key, otherKey))) {
        fuzz::require(settings::readProfileString(file, otherSection, otherKey) == otherBefore,
                      "other keys are kept", otherKey);
    }
    return 0;
}
