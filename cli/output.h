#pragma once
// Where the command line writes: results on standard output, messages on standard error, and
// with --json one JSON object instead of the boxes' text.

#include "core/lines.h"

#include <nlohmann/json.hpp>

#include <ostream>
#include <string>

namespace cli {

struct Output {
    std::ostream& out;
    std::ostream& err;
    bool json;
};

// The lines, each ended by a line feed; flushed, so they are seen before a long wait.
void printLines(std::ostream& out, const core::Lines& lines);

void printJson(std::ostream& out, const nlohmann::ordered_json& j);

// "tarvik: " + message on standard error, its "\n\r" breaks as line feeds.
void printError(const Output& o, const std::string& message);

} // namespace cli
