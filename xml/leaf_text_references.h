#pragma once
// A text libxml2 reads faster into the same tree. From the first non-ASCII character of a text
// to the end of that text, libxml2 reads character by character, some fifteen times slower
// than plain ASCII: the Integrador's answer to a large sale, an accented message followed by a
// megabyte of Base64 in one element, spends almost all of its reading there. The same
// characters written as character references are read at full speed.
//
// Only the text of elements that hold nothing but text is rewritten: there the tree is the same
// whichever way the characters are written, blank text dropped or not. A rewritten text that
// parses gives the original's tree; one that does not must be judged on the original, whose
// errors and positions are the ones to report.

#include <optional>
#include <string>
#include <string_view>

namespace xml {

// `xml` with every non-ASCII character in the text of an element holding only text written as
// a hexadecimal character reference. nullopt when there is nothing to rewrite, or when the text
// may not be UTF-8 or holds a comment, processing instruction, CDATA section or document type
// (where a '<' or '>' does not mark a tag). Invalid UTF-8 and characters XML does not allow are
// left as they are, for the parser to refuse.
std::optional<std::string> leafTextAsCharacterReferences(std::string_view xml);

} // namespace xml
