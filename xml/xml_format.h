#pragma once
// Laying out an XML text for reading (the Integrador answer block shows answers this way).

#include <string>
#include <string_view>

namespace xml {

// The same XML with one element per line, each level indented two spaces more than its parent,
// an element holding only text on one line. The text is UTF-8 whatever the source's encoding,
// and its declaration says so: where the source has a declaration, the result starts with one
// holding the source's version and standalone values and, where the source named an encoding,
// encoding="UTF-8"; where the source has none, neither has the result. Lines end with CR LF,
// the last one too. Whitespace between elements is replaced by the layout;
// mixed content is kept as it is. Throws std::runtime_error with the message of
// xmlErrorMessage when the text is not well-formed.
std::string FormatXMLString(std::string_view xmlString);

} // namespace xml
