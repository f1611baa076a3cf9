#pragma once
// The network configuration document: root `config` holding simple elements, built as an XML
// tree and serialised on one line.

#include <span>
#include <string>
#include <string_view>

namespace network {

struct ConfigElement {
    std::string_view name;
    std::string value; // UTF-8, written as the element's text; empty gives an empty element
};

// The document with the declaration <?xml version="1.0" encoding="utf-8"?> followed by the
// `config` element, without a line break anywhere. The values are escaped as element text, and
// a "|" is written as the character reference &#124; so that the document never holds the
// separator of the extended configuration text. Throws std::invalid_argument naming the element
// when a value is not valid UTF-8 or holds a control character or U+FFFE/U+FFFF, which no
// document can carry.
std::string configurationText(std::span<const ConfigElement> elements);

} // namespace network
