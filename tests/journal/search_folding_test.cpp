// Search text folds case and the diacritics of Portuguese (and the rest of Latin-1 and Latin
// Extended-A) the same way on both sides; bytes that are not such letters, invalid UTF-8
// included, stay as they are.

#include "journal/search_folding.h"

#include <gtest/gtest.h>

namespace {

TEST(SearchFolding, LettersLoseCaseAndDiacriticsAndOtherBytesStay) {
    struct Case {
        std::string text;
        std::string folded;
    };
    const Case cases[] = {
        {"CAFÉ", "cafe"},
        {"café", "cafe"},
        {"PANIFICAÇÃO", "panificacao"},
        {"Panificação", "panificacao"},
        {"ÀÁÂÃÄÅ àáâãäå ÈÉÊË ÌÍÎÏ ÒÓÔÕÖØ ÙÚÛÜ Ýÿ Ññ", "aaaaaa aaaaaa eeee iiii oooooo uuuu yy nn"},
        {"Æsir straße Þór Œuvre", "aesir strasse thor oeuvre"},
        // Latin Extended-A: both cases of a pair, and its first and last letters.
        {"ŁÓDŹ Łódź Āā ſ", "lodz lodz aa s"},
        {"ŠKODA Dvořák", "skoda dvorak"},
        // Not letters, or beyond the folded range: as they are.
        {"3×4÷2 € ✓ Ωω", "3×4÷2 € ✓ Ωω"},
        {"Ǆ", "Ǆ"},
        // Invalid UTF-8: a lead byte without its continuation, a lone continuation, Latin-1.
        {std::string("A\xc3") + "B", std::string("a\xc3") + "b"},
        {std::string("\xc3"), std::string("\xc3")},
        {std::string("\x87X"), std::string("\x87x")},
        {std::string("CAF\xc9"), std::string("caf\xc9")},
        {std::string("a\0B", 3), std::string("a\0b", 3)},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(journal::foldedForSearch(c.text), c.folded) << c.text;
}

} // namespace
