#include "cli/operation_record.h"

#include "core/answer_cuts.h"
#include "core/text.h"

#include <nlohmann/json.hpp>

namespace cli {
namespace {

nlohmann::ordered_json textOrNull(const std::string& text) {
    return text.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(text);
}

} // namespace

nlohmann::ordered_json toJson(const OperationRecord& record) {
    nlohmann::ordered_json j;
    j["operation"] = textOrNull(record.operation);
    j["access"] = textOrNull(record.access);
    if (record.analysis)
        j["analysis"] = *record.analysis;
    j["session"] = textOrNull(record.session);
    j["call"] =
        record.shown ? nlohmann::ordered_json(record.shown->call.text) : nlohmann::ordered_json();
    j["identifier"] = textOrNull(record.identifier);
    j["request"] = record.request.empty()
                       ? nlohmann::ordered_json()
                       : nlohmann::ordered_json(core::decodeUtf8(record.request));
    if (const auto& done = record.executed) {
        j["answer"] = core::decodeUtf8(done->answer);
        j["code"] = textOrNull(core::answerCode(done->answer));
        nlohmann::ordered_json fields = nlohmann::ordered_json::array();
        for (const auto& field : core::fieldList(done->answer))
            fields.push_back(core::decodeUtf8(field));
        j["fields"] = fields;
        j["integrador_answer"] = textOrNull(done->answerDocument);
        j["report"] = done->report;
    } else {
        for (const char* key : {"answer", "code", "fields", "integrador_answer", "report"})
            j[key] = nullptr;
    }
    j["files"] = record.files;
    j["messages"] = record.messages;
    j["accessKey"] = textOrNull(record.accessKey);
    j["saved"] = record.saved ? nlohmann::ordered_json(record.saved->saved) : nullptr;
    j["exit"] = record.exitStatus;
    j["error"] = textOrNull(record.error);
    return j;
}

} // namespace cli
