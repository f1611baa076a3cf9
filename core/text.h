#pragma once
// Text conversions between the window (UTF-8), the module's 8-bit code page and answers.

#include <optional>
#include <string>
#include <string_view>

namespace core {

// Removes leading and trailing blanks and control characters (every byte up to the space).
std::string trimmed(std::string_view text);

// UTF-8 text converted to the 8-bit code page the module expects for text parameters:
// the system ANSI code page on Windows, Windows-1252 elsewhere. Characters the code page
// cannot hold become '?'.
std::string toAnsi(std::string_view utf8);

// The first character of UTF-8 text that toAnsi would turn into '?' (an invalid sequence counts
// as one), as UTF-8; nullopt when the code page holds every character.
std::optional<std::string> firstCharacterOutsideAnsi(std::string_view utf8);

// Appends one code point as UTF-8.
void appendUtf8(std::string& out, char32_t codePoint);

// Windows-1252 bytes as UTF-8.
std::string fromWindows1252(std::string_view bytes);

// The code point a code point decoder gives for bytes that are not a valid UTF-8 sequence.
inline constexpr char32_t invalidCodePoint = 0xFFFFFFFF;

// Decodes the UTF-8 sequence at `pos` and moves past it; returns invalidCodePoint and moves one
// byte when the bytes there are not a valid, shortest-form sequence.
char32_t nextCodePoint(std::string_view bytes, std::size_t& pos);

// The number of leading bytes below 0x80 (ASCII characters).
std::size_t asciiPrefixLength(std::string_view bytes);

// Bytes decoded as UTF-8: valid sequences are kept, every invalid sequence becomes U+FFFD.
std::string decodeUtf8(std::string_view bytes);

// The number of characters in UTF-8 text; every invalid byte sequence counts as one character,
// as decodeUtf8 shows it.
std::size_t characterCount(std::string_view utf8);

// The decimal value of a text, as an integer parameter built from typed text. Throws
// std::invalid_argument with "'<text>' is not a valid integer value" when it is not one.
int toInt(std::string_view text);

// A message's line break ("\n\r") as a single line feed, for display on this platform.
std::string displayLineBreaks(std::string_view message);

} // namespace core
