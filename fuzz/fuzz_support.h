#pragma once
// What every fuzz target needs: a way to stop on a broken property with the reason, the checks
// the targets share, a scratch folder of the process, and the splitting of an input into parts.

#include "core/lines.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

// Stops the run (libFuzzer keeps the input as a crash) when a property does not hold.
void require(bool holds, std::string_view property, std::string_view detail = {});

// Strict UTF-8: shortest forms only, no surrogates, nothing above U+10FFFF.
bool isUtf8(std::string_view text);

// Requires every line (and the extra texts, e.g. message boxes) to be UTF-8.
void requireUtf8(const core::Lines& lines, std::string_view what);

// True when the safe XML reader takes the text as a well-formed document.
bool isWellFormedXml(std::string_view xml);

// A folder of this process below the system's temporary folder, emptied when the process ends.
const std::filesystem::path& scratchFolder();

void writeFile(const std::filesystem::path& file, std::string_view bytes);
std::string readFile(const std::filesystem::path& file);

// The input as a selector byte (0 when empty) and the rest.
struct Input {
    std::uint8_t selector = 0;
    std::string_view rest;
};
Input splitSelector(const std::uint8_t* data, std::size_t size);

// The text cut at every `separator` into exactly `count` parts: missing parts are empty, the last
// part keeps any further separators.
std::vector<std::string> parts(std::string_view text, char separator, std::size_t count);

} // namespace fuzz
