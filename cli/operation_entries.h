#pragma once
// Each operation as the command line offers it: the options that stand for its page's controls,
// and the page's own logic (analysis, call, report) fed from those options.

#include "cli/command_line.h"
#include "core/catalogue.h"
#include "core/execution.h"

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// One page's logic with its inputs taken from the command line.
struct PageLogic {
    std::function<core::Lines()> analyse; // "Analisar"; empty when the page has no such button
    core::Prepare prepare;                // "Mostrar"
    core::Report report;                  // the report after the raw answer line; may be empty
    // The files the report saved (returned documents); empty for pages that save none.
    std::function<std::vector<std::string>()> writtenFiles;
};

struct OperationEntry {
    const core::Operation& operation;
    std::span<const Option* const> options;
    // Builds the page's logic from the options given; nullptr while the page's logic is not
    // part of the program yet.
    PageLogic (*logic)(const core::Operation& operation, const CommandLine& line);
};

// The entry of an operation named as in the catalogue, in any letter case; nullptr if none.
const OperationEntry* entryNamed(std::string_view name);

} // namespace cli
