#include "core/workflow.h"

#include <gtest/gtest.h>

namespace {

using core::Lines;

TEST(AnswerBox, IntegradorBlockOnlyInIntegradorModeWithADocument) {
    const std::string header(core::integradorAnswerHeader);
    const std::string footer(core::integradorAnswerFooter);
    struct Case {
        bool integrador;
        const char* document;
        Lines expected;
    };
    const Case cases[] = {
        {true,
         "<a>\r\n  <b/>\r\n</a>\r\n",
         {header, "<a>", "  <b/>", "</a>", footer, "1|2|x", "r"}},
        {true, "", {"1|2|x", "r"}},
        {false, "<a/>", {"1|2|x", "r"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(core::answerBox(c.integrador, c.document, "1|2|x", {"r"}), c.expected)
            << c.integrador << " " << c.document;
    EXPECT_EQ(header.size(), 54u);
    EXPECT_EQ(footer.size(), 54u);
}

TEST(AnswerBox, RawLineIsDecodedAndAnEmptyAnswerIsOneEmptyLine) {
    EXPECT_EQ(core::answerBox(false, "", "Sess\xE3o", {}), Lines{"Sess\xEF\xBF\xBDo"});
    EXPECT_EQ(core::answerBox(false, "", "", {}), Lines{""});
}

} // namespace
