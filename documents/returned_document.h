#pragma once
// The documents the module returns in Base64 inside an answer (the issued CF-e of a sale or of an
// end-to-end test, the cancellation CF-e): taking them out of the answer, decoding them, and
// saving them in Retornos below the program folder.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace documents {

// The fields of an answer that carries a Base64 document, cut at "|" alone, with CR and LF
// removed from every field: some modules break the Base64 text into lines, some put a line
// break before a "|", and neither may split the document or shift the fields after it. An empty
// piece after a final "|" is not a field. For an answer without line breaks these are exactly
// the fields of core::fieldList.
std::vector<std::string> documentFields(std::string_view answer);

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
