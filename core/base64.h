#pragma once
// Base64 text as modules return it: some insert line breaks inside it, some leave out the "="
// padding. Anything else that is not Base64 is refused whole, so a document is never half-decoded.

#include <optional>
#include <string>
#include <string_view>

namespace core {

// The bytes of standard-alphabet Base64 text. Accepted besides plain Base64: CR, LF, blanks and
// tabs anywhere (skipped), and missing "=" padding at the end. Refused (nullopt): any other
// character, data after a "=", more padding than the length calls for, and a length that leaves
// a single character over. Empty text gives empty bytes.
std::optional<std::string> decodeBase64Lenient(std::string_view text);

} // namespace core
