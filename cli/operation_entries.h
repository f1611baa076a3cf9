#pragma once
// Each operation as the command line offers it: the options that stand for its page's fields,
// read from the operation's definition, and the inputs they give.

#include "cli/command_line.h"
#include "core/catalogue.h"
#include "core/operation_definition.h"

#include <string_view>
#include <vector>

namespace cli {

struct OperationEntry {
    const core::Operation& operation;
    const core::OperationDefinition& definition;
    std::vector<Option> options; // one per field of the definition

    std::vector<const Option*> optionList() const;
};

// The entry of an operation named as in the catalogue, in any letter case; nullptr if none.
const OperationEntry* entryNamed(std::string_view name);

// The fields' values as the options give them: an option left out is a field not given (it reads
// as empty), a switch given is checked, a file option gives the file's bytes (an empty file is a
// field given empty). Throws UsageError when such a file cannot be read.
core::Inputs inputsFrom(const OperationEntry& entry, const CommandLine& line);

} // namespace cli
