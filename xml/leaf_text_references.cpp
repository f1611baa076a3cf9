#include "xml/leaf_text_references.h"

#include "core/text.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace xml {
namespace {

constexpr auto npos = std::string_view::npos;

std::string_view withoutLeadingBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    return first == npos ? std::string_view() : text.substr(first);
}

// Whether what follows the word "encoding" in a declaration is ="UTF-8" (any case, either
// quote, blanks around the equals sign).
bool namesUtf8(std::string_view rest) {
    rest = withoutLeadingBlanks(rest);
    if (!rest.starts_with('='))
        return false;
    rest = withoutLeadingBlanks(rest.substr(1));
    if (rest.empty() || (rest[0] != '"' && rest[0] != '\''))
        return false;
    const std::size_t close = rest.find(rest[0], 1);
    if (close == npos)
        return false;
    const std::string_view name = rest.substr(1, close - 1);
    return std::ranges::equal(name, std::string_view("utf-8"), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
}

// Where the content after the XML declaration starts; nullopt when libxml2 may read the text
// in another encoding than UTF-8. A '<' followed by a NUL byte is UTF-16 or UCS-4.
std::optional<std::size_t> utf8ContentStart(std::string_view xml) {
    const std::size_t bom = xml.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    const std::string_view text = xml.substr(bom);
    if (text.size() < 2 || text[0] != '<' || text[1] == '\0')
        return std::nullopt;
    if (!(text.size() > 5 && text.starts_with("<?xml") &&
          std::string_view(" \t\r\n").find(text[5]) != npos))
        return bom;
    const std::size_t end = text.find("?>");
    if (end == npos)
        return std::nullopt;
    const std::string_view declaration = text.substr(0, end);
    const std::size_t encoding = declaration.find("encoding");
    if (encoding != npos && !namesUtf8(declaration.substr(encoding + 8)))
        return std::nullopt;
    return bom + end + 2;
}

// The '>' closing the tag whose name starts at `from`, past quoted attribute values.
std::size_t tagEnd(std::string_view xml, std::size_t from) {
    for (std::size_t pos = from;;) {
        pos = xml.find_first_of("\"'>", pos);
        if (pos == npos || xml[pos] == '>')
            return pos;
        pos = xml.find(xml[pos], pos + 1);
        if (pos == npos)
            return npos;
        ++pos;
    }
}

void appendAsReferences(std::string& out, std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t ascii = core::asciiPrefixLength(text.substr(pos));
        out.append(text.substr(pos, ascii));
        pos += ascii;
        if (pos == text.size())
            break;
        const std::size_t start = pos;
        const char32_t cp = core::nextCodePoint(text, pos);
        if (cp == core::invalidCodePoint || cp == 0xFFFE || cp == 0xFFFF) {
            out.append(text.substr(start, pos - start));
            continue;
        }
        char reference[16];
        const int length =
            std::snprintf(reference, sizeof reference, "&#x%X;", static_cast<unsigned>(cp));
        out.append(reference, static_cast<std::size_t>(length));
    }
}

} // namespace

std::optional<std::string> leafTextAsCharacterReferences(std::string_view xml) {
    const auto start = utf8ContentStart(xml);
    if (!start)
        return std::nullopt;
    std::string out;
    std::size_t copied = 0; // the bytes before this one are in `out`
    bool afterStartTag = false;
    for (std::size_t pos = *start;;) {
        const std::size_t open = xml.find('<', pos);
        if (open == npos)
            break;
        if (open + 1 == xml.size() || xml[open + 1] == '!' || xml[open + 1] == '?')
            return std::nullopt;
        const std::string_view text = xml.substr(pos, open - pos);
        if (afterStartTag && xml[open + 1] == '/' && core::asciiPrefixLength(text) < text.size()) {
            if (out.empty())
                out.reserve(xml.size() + 64);
            out.append(xml.substr(copied, pos - copied));
            appendAsReferences(out, text);
            copied = open;
        }
        const std::size_t close = tagEnd(xml, open + 1);
        if (close == npos)
            return std::nullopt;
        afterStartTag = xml[open + 1] != '/' && xml[close - 1] != '/';
        pos = close + 1;
    }
    if (copied == 0)
        return std::nullopt;
    out.append(xml.substr(copied));
    return out;
}

} // namespace xml
