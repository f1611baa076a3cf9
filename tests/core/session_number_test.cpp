#include "core/session_number.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    core::TimeOfDay time;
    const char* expected;
};

// Values computed independently from the generator's definition.
TEST(SessionNumber, KnownTimesGiveKnownNumbers) {
    const Case cases[] = {
        {{0, 0, 0, 0}, "000001"}, {{12, 34, 56, 789}, "020756"}, {{23, 59, 59, 999}, "197451"},
        {{8, 0, 0, 1}, "235323"}, {{17, 45, 3, 250}, "125389"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(core::geranumsessao(c.time), c.expected)
            << c.time.hour << ":" << c.time.minute << ":" << c.time.second << "."
            << c.time.millisecond;
}

TEST(SessionNumber, AlwaysSixDigitsInRangeOverEveryMillisecondOfAMinute) {
    for (int s = 0; s < 60; ++s)
        for (int ms = 0; ms < 1000; ++ms) {
            const auto number = core::geranumsessao({13, 7, s, ms});
            ASSERT_EQ(number.size(), 6u);
            const int value = std::stoi(number);
            ASSERT_GE(value, 1);
            ASSERT_LE(value, 999998);
        }
}

} // namespace
