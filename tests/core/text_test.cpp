#include "core/text.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(Text, Trimmed) {
    EXPECT_EQ(core::trimmed("  abc \t\r\n"), "abc");
    EXPECT_EQ(core::trimmed("\x01 a b \x1f"), "a b");
    EXPECT_EQ(core::trimmed("   "), "");
}

TEST(Text, AnsiRoundTripsPortugueseThroughWindows1252) {
    const std::string utf8 = "Código de ativação — 10 €";
    const std::string ansi = core::toAnsi(utf8);
    EXPECT_EQ(ansi, "C\xF3"
                    "digo de ativa\xE7\xE3o \x97 10 \x80");
    EXPECT_EQ(core::fromWindows1252(ansi), utf8);
    EXPECT_EQ(core::toAnsi("日本"), "??");
}

TEST(Text, DecodeUtf8ReplacesInvalidSequences) {
    struct Case {
        std::string bytes, expected;
    };
    const Case cases[] = {
        {"Sessão", "Sessão"},
        {"Sess\xE3o", "Sess\xEF\xBF\xBDo"},                       // a Windows-1252 byte
        {"\xC3", "\xEF\xBF\xBD"},                                 // truncated sequence
        {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},                 // overlong form
        {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"}, // surrogate
        {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
        // Long ASCII runs around the sequences, read several bytes at a time.
        {std::string(21, 'a') + "\xE3" + std::string(9, 'b') + "ç",
         std::string(21, 'a') + "\xEF\xBF\xBD" + std::string(9, 'b') + "ç"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(core::decodeUtf8(c.bytes), c.expected);
}

TEST(Text, CharacterCountCountsCharactersNotBytes) {
    EXPECT_EQ(core::characterCount(""), 0u);
    EXPECT_EQ(core::characterCount("ativação"), 8u);
    EXPECT_EQ(core::characterCount("ù€𝄞"), 3u);
    EXPECT_EQ(core::characterCount("a\xE3\xE7"
                                   "b"),
              4u); // each invalid byte shows as one U+FFFD
}

TEST(Text, ToIntAcceptsDecimalOnly) {
    EXPECT_EQ(core::toInt("004711"), 4711);
    EXPECT_EQ(core::toInt("-5"), -5);
    for (const char* bad : {"", "12a", " 12", "99999999999", "1.5"})
        EXPECT_THROW(core::toInt(bad), std::invalid_argument) << bad;
}

TEST(Text, MessageLineBreakShownAsOneLineFeed) {
    EXPECT_EQ(core::displayLineBreaks("a\n\rb\nc\r"), "a\nb\nc\r");
}

} // namespace
