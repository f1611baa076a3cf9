#include "help/rtf_reader.h"

#include "core/text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>

namespace {

// The document's paragraphs as text, with "*...*" around bold runs.
std::string render(const std::vector<help::RtfParagraph>& paragraphs) {
    std::string out;
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        if (i)
            out += "/";
        for (const auto& run : paragraphs[i].runs)
            out += run.bold ? "*" + run.text + "*" : run.text;
    }
    return out;
}

TEST(RtfReader, TextOfSmallDocuments) {
    struct Case {
        const char* rtf;
        const char* text;
    };
    const Case cases[] = {
        {R"({\rtf1\ansi Ol\'e1 mundo\par fim})", "Olá mundo/fim"},
        {R"({\rtf1{\fonttbl{\f0 Tahoma;}}{\colortbl ;\red255\green0\blue0;}\f0 a})", "a"},
        {R"({\rtf1 {\b negrito}\b0  normal})", "*negrito* normal"},
        {R"({\rtf1 a\b b\b0 c})", "a*b*c"},
        {R"({\rtf1\uc1 S\u227?o\par})", "São"},
        {R"({\rtf1 {\*\generator Riched20;}{\*\unknown x}vis\'edvel})", "visível"},
        {R"({\rtf1 \foo12 \bar texto\tab fim})", "texto\tfim"},
        {R"({\rtf1 chaves \{ e \} e \\})", "chaves { e } e \\"},
        {R"({\rtf1 euro \'80})", "euro €"},
        {R"({\rtf1 {\info{\title T}}corpo})", "corpo"},
        {R"({\rtf1 truncado \'4)", "truncado "},
        {R"({\rtf1 sem fim {\b x)", "sem fim *x*"},
        // Binary data is skipped whole, braces and backslashes in it included.
        {R"({\rtf1 a{\pict\bin5 x}y{z}b})", "ab"},
        {R"({\rtf1 a{\pict\bin999 x})", "a"},
        // A character beyond U+FFFF comes as a surrogate pair; a lone half is not a character.
        {R"({\rtf1 \u-10179?\u-8704?!})", "\U0001F600!"},
        {R"({\rtf1 \u-10179?x\u-8704?y})", "\uFFFDx\uFFFDy"},
        {R"({\rtf1 \u70000?.})", "\uFFFD."},
        // An 8-bit byte written as it is stands for its Windows-1252 character.
        {"{\\rtf1 p\xE1gina \x80}", "página €"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(render(help::parseRtf(c.rtf)), c.text) << c.rtf;
}

TEST(RtfReader, FormattingOfRuns) {
    const auto doc = help::parseRtf(
        R"({\rtf1{\colortbl ;\red0\green64\blue128;}\fs28\cf1\i\ul A\ulnone\i0\cf0\fs20 B})");
    ASSERT_EQ(doc.size(), 1u);
    ASSERT_EQ(doc[0].runs.size(), 2u);
    const auto& a = doc[0].runs[0];
    EXPECT_EQ(a.text, "A");
    EXPECT_TRUE(a.italic);
    EXPECT_TRUE(a.underline);
    EXPECT_EQ(a.color, 0x004080u);
    EXPECT_EQ(a.halfPoints, 28);
    const auto& b = doc[0].runs[1];
    EXPECT_FALSE(b.italic || b.underline);
    EXPECT_EQ(b.color, std::nullopt);
    EXPECT_EQ(b.halfPoints, 20);
}

TEST(RtfReader, ColourIndexOutsideTheTableIsTheAutomaticColour) {
    const auto doc = help::parseRtf(R"({\rtf1{\colortbl ;\red1\green2\blue3;}\cf9 x})");
    EXPECT_EQ(doc[0].runs[0].color, std::nullopt);
}

TEST(RtfReader, FontSizeStaysWithinWhatAnEditorOffers) {
    const auto doc = help::parseRtf(R"({\rtf1\fs2000000000 x})");
    EXPECT_LE(doc[0].runs[0].halfPoints, 3276);
}

// Every prefix of a document and random garbage: the reader ends, and what it gives is text.
TEST(RtfReader, HostileInputNeverBreaksTheReader) {
    const std::string sample =
        R"({\rtf1\ansi{\fonttbl{\f0 Tahoma;}}{\colortbl ;\red0\green64\blue128;})"
        R"(\uc2\fs20\cf1\b T\'edtulo\b0\par{\*\x y}\u-10179\'3f\'3f\u-8704??{\pict\bin3 {}\}})"
        R"(\line fim\~\{\}\\})";
    std::vector<std::string> inputs;
    for (std::size_t n = 0; n <= sample.size(); ++n)
        inputs.push_back(sample.substr(0, n));
    std::mt19937 random(20240607);
    const std::string alphabet = "{}\\'*uc0123456789-abinfspar \xE1\xFF;";
    for (int i = 0; i < 2000; ++i) {
        std::string garbage;
        const int length = int(random() % 64);
        for (int k = 0; k < length; ++k)
            garbage += alphabet[random() % alphabet.size()];
        inputs.push_back(garbage);
    }
    for (const auto& input : inputs)
        for (const auto& paragraph : help::parseRtf(input))
            for (const auto& run : paragraph.runs)
                ASSERT_EQ(core::decodeUtf8(run.text), run.text) << input;
}

// The help files the program ships read as text: a control word spelt wrong or an unescaped
// brace would show as a stray "\word", "{" or "}", and a file that lost its text as nothing.
// (A backslash before a capital stays: the help writes Windows paths, "Retornos\Resp_".)
TEST(RtfReader, EveryShippedHelpFileReadsAsText) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TARVIK_HELP_DIR)) {
        if (entry.path().extension() != ".HLP")
            continue;
        ++files;
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream rtf;
        rtf << in.rdbuf();
        const std::string text = render(help::parseRtf(rtf.str()));
        EXPECT_GT(text.size(), 100u) << entry.path();
        EXPECT_EQ(text.find_first_of("{}"), std::string::npos) << entry.path() << ": " << text;
        EXPECT_FALSE(std::regex_search(text, std::regex(R"(\\[a-z])")))
            << entry.path() << ": " << text;
    }
    EXPECT_GE(files, 17);
}

} // namespace
