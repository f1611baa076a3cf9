#pragma once
// The documents the module returns in Base64 inside an answer (the issued CF-e of a sale or of an
// end-to-end test, the cancellation CF-e): taking them out of the answer, decoding them, and
// saving them in Retornos below the program folder.

#include "core/answer_cuts.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace documents {

// The answer's fields around its Base64 document (core::documentFields).
using core::documentFields;

// A returned document as lines of bytes, split at CR, LF or CR LF (splitByteLines).
using DocumentLines = std::vector<std::string>;

// The Base64 text decoded (core::decodeBase64Lenient) and split into lines; nullopt when the text
// is not Base64, so that nothing partial is ever shown as the document or saved.
std::optional<DocumentLines> decodeReturnedDocument(std::string_view base64);

// What a saved returned document holds: each line followed by CR LF, no byte order mark.
std::string savedForm(const DocumentLines& lines);

// programFolder/Retornos/fileName.
std::filesystem::path retornosFile(const std::filesystem::path& programFolder,
                                   const std::filesystem::path& fileName);

// Saves the document at `target` (creating its folder when missing) through a temporary file in
// the same folder, renamed over the target once complete. On failure returns false with `error`
// set (Portuguese, naming the file); the file that was there before is left as it was.
bool saveReturnedDocument(const std::filesystem::path& target, const DocumentLines& lines,
                          std::string& error);

} // namespace documents
