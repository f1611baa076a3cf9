#include "core/answer_cuts.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using testing::ElementsAre;
using V = std::vector<std::string>;

TEST(CodeCut, Pieces) {
    struct Case {
        const char* answer;
        V pieces;
    };
    const Case cases[] = {
        {"123456|08000|SAT em operação||", {"123456", "08000", "SAT em operação"}},
        {"|08000|msg", {"08000", "msg"}},       // empty first field dropped
        {"1|\"a|b\"|c", {"1", "\"a|b\"", "c"}}, // quotes protect the bar
        {"1|'x|y'z|c", {"1", "'x|y'z", "c"}},
        {"1\r\n2\n3\r4", {"1", "2", "3", "4"}},
        {"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(core::codeCut(c.answer), c.pieces) << c.answer;
}

TEST(CodeCut, AnswerCodeIsTheSecondPiece) {
    EXPECT_EQ(core::answerCode("000123|10000|Resposta com sucesso"), "10000");
    EXPECT_EQ(core::answerCode("|10000|x"), "x");
    EXPECT_EQ(core::answerCode("only"), "");
}

TEST(FieldList, Fields) {
    struct Case {
        const char* answer;
        V fields;
    };
    const Case cases[] = {
        {"s|c|m||", {"s", "c", "m", ""}}, // four fields, last empty
        {"a|b|", {"a", "b"}},             // final break adds none
        {"a||b", {"a", "", "b"}},
        {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
        {"a\r\n", {"a"}},
        {"a\n\nb", {"a", "", "b"}},
        {"\"q|r\"", {"\"q", "r\""}}, // quotes do not protect here
        {"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(core::fieldList(c.answer), c.fields) << c.answer;
}

TEST(AnswerCuts, SessionCodeMessageEmptyGivesThreePiecesAndFourFields) {
    EXPECT_THAT(core::codeCut("000001|08000|SAT em operação||"), testing::SizeIs(3));
    EXPECT_THAT(core::fieldList("000001|08000|SAT em operação||"), testing::SizeIs(4));
}

} // namespace
