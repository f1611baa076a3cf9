#include "xml/xml_text.h"

namespace xml {

std::string xmlText(std::string_view value, bool keepCarriageReturns) {
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '\r':
            out += keepCarriageReturns ? "&#13;" : "\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string cdataContent(std::string_view value) {
    static constexpr std::string_view end = "]]>";
    std::string out;
    out.reserve(value.size());
    std::size_t from = 0;
    for (auto at = value.find(end); at != std::string_view::npos; at = value.find(end, from)) {
        // "]]" closes this section; ">" opens the next one.
        out.append(value.substr(from, at - from)).append("]]]]><![CDATA[>");
        from = at + end.size();
    }
    out.append(value.substr(from));
    return out;
}

} // namespace xml
