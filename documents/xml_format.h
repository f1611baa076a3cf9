#pragma once
// Laying out an XML text for reading (the Integrador answer block shows answers this way).

#include <string>
#include <string_view>

namespace documents {

// The same XML with one element per line, each level indented two spaces more than its parent,
// an element holding only text on one line, and first an XML declaration with the source's
// version, encoding and standalone values. Lines end with CR LF, the last one too. The text is
// UTF-8 whatever the declaration says. Whitespace between elements is replaced by the layout;
// mixed content is kept as it is. Throws std::runtime_error with the message of
// xmlErrorMessage when the text is not well-formed.
std::string FormatXMLString(std::string_view xmlString);

} // namespace documents
