#pragma once
// The extended status report of ConsultarStatusOperacionalMFE.

#include "core/call_text.h"

#include <functional>
#include <string>
#include <string_view>

namespace operations {

// How the report lays out the network configurations (fields 33 to 36) that the answer carries
// as escaped XML.
struct NetworkXmlLayout {
    // Removes the backslash escapes of a text (RetiraEscapes).
    std::function<std::string(std::string_view)> retiraEscapes;
    // Lays out an XML text with indentation (xml::FormatXMLString); throws when the text is not
    // well-formed, which ends the report.
    std::function<std::string(std::string_view)> formatXmlString;
};

// The lines written after the raw answer line: nothing unless the answer code is the success
// code, then an empty line, the heading and one labelled line per field from 5 on that a "|"
// closes. Line breaks do not end a field. No closing line. A field that cannot be shown (state
// or UF not a number, a configuration the layout refuses) ends the report there.
core::Lines extendedStatusReport(std::string_view answer, const NetworkXmlLayout& xml);

// The report page 15 writes: extendedStatusReport with the configurations laid out by
// RetiraEscapes and xml::FormatXMLString.
core::Lines extendedStatusPageReport(std::string_view answer);

} // namespace operations
