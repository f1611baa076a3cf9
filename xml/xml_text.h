#pragma once
// Values written into XML documents as text, so that any value keeps the document well-formed.

#include <string>
#include <string_view>

namespace xml {

// Character data: "&", "<" and ">" become entity references. A carriage return becomes "&#13;"
// when `keepCarriageReturns` is set, because a parser would otherwise turn CR LF into LF.
std::string xmlText(std::string_view value, bool keepCarriageReturns = false);

// The content of a CDATA section ("<![CDATA[" + result + "]]>"): every "]]>" in the value is
// split across two sections, so the value comes back whole when the document is read.
std::string cdataContent(std::string_view value);

} // namespace xml
