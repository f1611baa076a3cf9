#include "core/text.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#endif

namespace core {
namespace {

// Code points of Windows-1252 bytes 0x80-0x9F (0 where the code page leaves a byte undefined).
constexpr std::array<char32_t, 32> cp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

#ifndef _WIN32
// Windows converts with the system's own ANSI code page instead (toAnsi).
char toCp1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<char>(cp);
    for (std::size_t i = 0; i < cp1252High.size(); ++i)
        if (cp1252High[i] == cp)
            return static_cast<char>(0x80 + i);
    return '?';
}
#endif

} // namespace

std::size_t asciiPrefixLength(std::string_view bytes) {
    // Eight bytes at a time while none has its high bit set, then byte by byte.
    constexpr std::uint64_t highBits = 0x8080808080808080u;
    std::size_t pos = 0;
    for (std::uint64_t word; pos + sizeof word <= bytes.size(); pos += sizeof word) {
        std::memcpy(&word, bytes.data() + pos, sizeof word);
        if (word & highBits)
            break;
    }
    while (pos < bytes.size() && static_cast<unsigned char>(bytes[pos]) < 0x80)
        ++pos;
    return pos;
}

char32_t nextCodePoint(std::string_view s, std::size_t& pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    int length = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, cp = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, cp = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, cp = lead & 0x07, minimum = 0x10000;
    } else {
        ++pos;
        return invalidCodePoint;
    }
    if (pos + length > s.size()) {
        ++pos;
        return invalidCodePoint;
    }
    for (int i = 1; i < length; ++i) {
        const unsigned char c = byte(pos + i);
        if ((c & 0xC0) != 0x80) {
            ++pos;
            return invalidCodePoint;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++pos;
        return invalidCodePoint;
    }
    pos += length;
    return cp;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string trimmed(std::string_view text) {
    const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return std::string(text.substr(begin, end - begin));
}

std::string toAnsi(std::string_view utf8) {
#ifdef _WIN32
    if (utf8.empty())
        return {};
    const int wide = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring w(wide, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), w.data(), wide);
    // No best fit: a character the code page lacks becomes '?', never a look-alike ("ő" is not
    // "o"). UTF-8 as the ANSI code page takes no flags.
    const DWORD flags = GetACP() == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int narrow =
        WideCharToMultiByte(CP_ACP, flags, w.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string out(narrow, '\0');
    WideCharToMultiByte(CP_ACP, flags, w.data(), wide, out.data(), narrow, nullptr, nullptr);
    return out;
#else
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const char32_t cp = nextCodePoint(utf8, pos);
        out += cp == invalidCodePoint ? '?' : toCp1252(cp);
    }
    return out;
#endif
}

std::optional<std::string> firstCharacterOutsideAnsi(std::string_view utf8) {
    for (std::size_t pos = 0; pos < utf8.size();) {
        const std::size_t start = pos;
        nextCodePoint(utf8, pos);
        const std::string_view character = utf8.substr(start, pos - start);
        if (character != "?" && toAnsi(character) == "?")
            return std::string(character);
    }
    return std::nullopt;
}

std::string fromWindows1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        const char32_t cp = (b >= 0x80 && b < 0xA0) ? cp1252High[b - 0x80] : b;
        appendUtf8(out, cp == 0 ? 0xFFFD : cp);
    }
    return out;
}

std::string decodeUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t ascii = asciiPrefixLength(bytes.substr(pos));
        out.append(bytes.substr(pos, ascii));
        pos += ascii;
        if (pos == bytes.size())
            break;
        const std::size_t start = pos;
        const char32_t cp = nextCodePoint(bytes, pos);
        if (cp == invalidCodePoint)
            appendUtf8(out, 0xFFFD);
        else
            out.append(bytes.substr(start, pos - start));
    }
    return out;
}

std::size_t characterCount(std::string_view utf8) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < utf8.size(); ++count)
        nextCodePoint(utf8, pos);
    return count;
}

int toInt(std::string_view text) {
    std::string_view digits = text;
    if (!digits.empty() && digits.front() == '+')
        digits.remove_prefix(1);
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc{} || end != digits.data() + digits.size())
        throw std::invalid_argument("'" + std::string(text) + "' is not a valid integer value");
    return value;
}

std::string displayLineBreaks(std::string_view message) {
    std::string out;
    out.reserve(message.size());
    for (std::size_t i = 0; i < message.size(); ++i) {
        out += message[i];
        if (message[i] == '\n' && i + 1 < message.size() && message[i + 1] == '\r')
            ++i;
    }
    return out;
}

} // namespace core
