#pragma once
// The issued document of a journalled sale, cancellation or end-to-end test, to print its receipt
// again: the file the call wrote while it still holds what was written (the SHA-256 recorded with
// the call), else the document in the recorded answer. What the bytes hold is the receipt's to
// check.

#include "journal/call_entry.h"

#include <optional>
#include <string>
#include <string_view>

namespace journal {

// EnviarDadosVenda, CancelarUltimaVenda and TesteFimAFim: their answers carry the issued CF-e or
// CFeCanc in Base64.
bool carriesIssuedDocument(std::string_view operation);

struct RecordedDocument {
    std::optional<std::string> bytes;
    std::string origin; // the file's path, or the recorded answer with the call's time
    std::string file;   // the file's path when the bytes are the file's
    std::string note;   // why the written file was not used: missing or changed since
    std::string error;  // why there is no document
};
RecordedDocument recordedDocument(const CallEntry& call);

} // namespace journal
