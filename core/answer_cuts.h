#pragma once
// The ways reports cut an answer string.

#include <string>
#include <string_view>
#include <vector>

namespace core {

// Pieces cut at "|", CR and LF, with quoted stretches kept whole and empty pieces dropped.
// The answer code is the second piece.
std::vector<std::string> codeCut(std::string_view answer);

// Fields separated by "|" or a line break (CR, LF or CRLF); empty fields count; a final line
// break adds no field.
std::vector<std::string> fieldList(std::string_view answer);

// The answer code (second piece of the code cut), or empty when there is none.
std::string answerCode(std::string_view answer);

// The fields of an answer that carries a Base64 document, cut at "|" alone, with CR and LF
// removed from every field: some modules break the Base64 text into lines, some put a line
// break before a "|", and neither may split the document or shift the fields after it. An empty
// piece after a final "|" is not a field. For an answer without line breaks these are exactly
// the fields of core::fieldList.
std::vector<std::string> documentFields(std::string_view answer);

} // namespace core
