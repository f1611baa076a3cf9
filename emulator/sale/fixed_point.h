#pragma once
// Exact decimal amounts for the sale's values: quantities, prices, rates and money are held as
// integers in units of 10^-scale, so totals never drift as binary floating point would.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace emulator {

// The shape a decimal text must have: 1 to maxIntegerDigits digits, a point, and between
// minFraction and maxFraction digits ("654.320" fits {12, 2, 3}).
struct DecimalShape {
    int maxIntegerDigits;
    int minFraction;
    int maxFraction;
    int minIntegerDigits = 1; // "005.00": the ISSQN rate has exactly three
};

inline constexpr DecimalShape moneyShape{13, 2, 2};

// The text's value in units of 10^-scale (scale >= shape.maxFraction), or nothing when the text
// does not have the shape or the value does not fit.
std::optional<std::int64_t> parseDecimal(std::string_view text, DecimalShape shape, int scale);

// "1234" at scale 2 is "12.34"; negative values get a leading "-".
std::string formatDecimal(std::int64_t units, int scale);

// a × b ÷ divisor for non-negative a and b, rounded half up or truncated; nothing on overflow.
std::optional<std::int64_t> mulDiv(std::int64_t a, std::int64_t b, std::int64_t divisor,
                                   bool truncate = false);

} // namespace emulator
