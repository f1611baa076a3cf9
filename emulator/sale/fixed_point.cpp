#include "emulator/sale/fixed_point.h"

#include <limits>

namespace emulator {
namespace {

constexpr std::int64_t maxValue = std::numeric_limits<std::int64_t>::max();

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::optional<std::int64_t> appendDigit(std::int64_t value, int digit) {
    if (value > (maxValue - digit) / 10)
        return std::nullopt;
    return value * 10 + digit;
}

} // namespace

std::optional<std::int64_t> parseDecimal(std::string_view text, DecimalShape shape, int scale) {
    const auto point = text.find('.');
    if (point == std::string_view::npos || scale < shape.maxFraction)
        return std::nullopt;
    const auto integer = text.substr(0, point);
    const auto fraction = text.substr(point + 1);
    if (integer.empty() || static_cast<int>(integer.size()) < shape.minIntegerDigits ||
        static_cast<int>(integer.size()) > shape.maxIntegerDigits ||
        static_cast<int>(fraction.size()) < shape.minFraction ||
        static_cast<int>(fraction.size()) > shape.maxFraction)
        return std::nullopt;
    std::optional<std::int64_t> value = 0;
    for (char c : integer) {
        if (!isDigit(c) || !(value = appendDigit(*value, c - '0')))
            return std::nullopt;
    }
    for (int i = 0; i < scale; ++i) {
        const int digit = i < static_cast<int>(fraction.size()) ? fraction[i] - '0' : 0;
        if ((i < static_cast<int>(fraction.size()) && !isDigit(fraction[i])) ||
            !(value = appendDigit(*value, digit)))
            return std::nullopt;
    }
    return value;
}

std::string formatDecimal(std::int64_t units, int scale) {
    const bool negative = units < 0;
    std::string digits = std::to_string(negative ? -units : units);
    if (static_cast<int>(digits.size()) <= scale)
        digits.insert(0, static_cast<std::size_t>(scale) + 1 - digits.size(), '0');
    if (scale > 0)
        digits.insert(digits.size() - static_cast<std::size_t>(scale), 1, '.');
    return negative ? "-" + digits : digits;
}

std::optional<std::int64_t> mulDiv(std::int64_t a, std::int64_t b, std::int64_t divisor,
                                   bool truncate) {
    if (a < 0 || b < 0 || divisor <= 0)
        return std::nullopt;
    if (a != 0 && b > maxValue / a)
        return std::nullopt;
    const std::int64_t product = a * b;
    if (truncate)
        return product / divisor;
    const std::int64_t half = divisor / 2;
    if (product > maxValue - half)
        return std::nullopt;
    return (product + half) / divisor;
}

} // namespace emulator
