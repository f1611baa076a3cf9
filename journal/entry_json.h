#pragma once
// One journal entry as a JSON object: the shape of `tarvik historico --json` and of each line
// of the support package. The answer is given decoded as text and, byte for byte, in Base64.

#include "journal/call_entry.h"

#include <nlohmann/json_fwd.hpp>

namespace journal {

nlohmann::ordered_json toJson(const CallEntry& entry);

} // namespace journal
