#pragma once
// What one run of an operation produced, for the JSON output.

#include "core/execution.h"
#include "core/operation_definition.h"

#include <nlohmann/json_fwd.hpp>

#include <optional>
#include <string>
#include <vector>

namespace cli {

struct OperationRecord {
    std::string operation;
    std::string access; // "DLL" or "INTEGRADOR"; empty when no access was opened
    std::optional<core::Lines> analysis;
    std::string session;
    std::optional<core::Shown> shown;
    std::string identifier; // the Integrador request identifier
    std::string request;    // the Integrador request document, as written to the file
    std::optional<core::Executed> executed;
    std::vector<std::string> files;    // files the page wrote (returned documents)
    std::vector<std::string> messages; // the texts of the page's message boxes
    std::string accessKey;             // of the fiscal document the module issued
    // Whether the document a success answer brought was saved; nullopt when it brought none.
    std::optional<core::SavedDocument> saved;
    int exitStatus = 0;
    std::string error; // why the run stopped early, or why the answer is not the module's
};

// One object: operation, access, session, call, identifier, request, answer, code, fields,
// integrador_answer, report, files, messages, accessKey, saved, exit, error. Texts from the module
// are decoded as UTF-8; what a step did not produce is null.
nlohmann::ordered_json toJson(const OperationRecord& record);

} // namespace cli
