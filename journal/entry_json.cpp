#include "journal/entry_json.h"

#include "core/text.h"

#include <nlohmann/json.hpp>
#include <openssl/evp.h>

namespace journal {
namespace {

std::string base64(std::string_view bytes) {
    std::string text(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    const int size =
        EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()),
                        reinterpret_cast<const unsigned char*>(bytes.data()), int(bytes.size()));
    text.resize(std::size_t(size));
    return text;
}

} // namespace

nlohmann::ordered_json toJson(const CallEntry& entry) {
    nlohmann::ordered_json j;
    j["id"] = entry.id;
    j["start_utc_ms"] =
        std::chrono::duration_cast<std::chrono::milliseconds>(entry.start.time_since_epoch())
            .count();
    j["start_local"] = entry.startLocal;
    j["duration_us"] = entry.duration.count();
    j["program_version"] = entry.programVersion;
    j["front_end"] = entry.frontEnd;
    j["access_mode"] = entry.accessMode;
    j["target"] = entry.target;
    j["layout"] = entry.layout;
    j["operation"] = entry.operation;
    j["session"] = entry.session;
    j["call"] = core::decodeUtf8(entry.callText);
    j["request"] = core::decodeUtf8(entry.request);
    j["answer"] = core::decodeUtf8(entry.answer);
    j["answer_base64"] = base64(entry.answer);
    j["code"] = entry.answerCode;
    j["outcome"] = outcomeName(entry.outcome);
    j["message"] = core::decodeUtf8(entry.message);
    j["inputs"] =
        nlohmann::ordered_json::parse(entry.inputs.empty() ? "{}" : entry.inputs, nullptr, false);
    j["report"] = core::decodeUtf8(entry.report);
    nlohmann::ordered_json files = nlohmann::ordered_json::array();
    for (const WrittenFile& file : entry.files)
        files.push_back({{"path", file.path}, {"sha256", file.sha256}});
    j["files"] = files;
    return j;
}

} // namespace journal
