#include "app/rtf_reader.h"

#include <gtest/gtest.h>

namespace {

// The document's paragraphs as text, with "*...*" around bold runs.
std::string render(const std::vector<app::RtfParagraph>& paragraphs) {
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
    };
    for (const auto& c : cases)
        EXPECT_EQ(render(app::parseRtf(c.rtf)), c.text) << c.rtf;
}

TEST(RtfReader, FormattingOfRuns) {
    const auto doc = app::parseRtf(
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
    const auto doc = app::parseRtf(R"({\rtf1{\colortbl ;\red1\green2\blue3;}\cf9 x})");
    EXPECT_EQ(doc[0].runs[0].color, std::nullopt);
}

} // namespace
