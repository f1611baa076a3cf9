#pragma once
// Base64 (the standard alphabet) as modules return their documents and logs.

#include <optional>
#include <string>
#include <string_view>

namespace documents {

// The bytes of Base64 text as real modules write it: line breaks and blanks inside the text are
// dropped and missing "=" padding is accepted. Anything else outside the alphabet, data after
// the padding, too much padding or a dangling sixth bit group refuses the whole text (nullopt).
std::optional<std::string> decodeBase64Lenient(std::string_view text);

} // namespace documents
