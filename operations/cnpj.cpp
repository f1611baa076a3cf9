#include "operations/cnpj.h"

#include <algorithm>

namespace operations {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The check digit over the first `count` digits: weights 2 to 9 from the last digit backwards,
// starting again at 2 after 9.
char checkDigit(std::string_view digits, std::size_t count) {
    int sum = 0;
    int weight = 2;
    for (std::size_t i = count; i-- > 0;) {
        sum += (digits[i] - '0') * weight;
        weight = weight == 9 ? 2 : weight + 1;
    }
    const int r = sum % 11;
    return r < 2 ? '0' : static_cast<char>('0' + 11 - r);
}

} // namespace

bool isCNPJ(std::string_view text) {
    if (text.size() != 14 || !std::all_of(text.begin(), text.end(), isDigit))
        return false;
    if (std::all_of(text.begin(), text.end(), [&](char c) { return c == text.front(); }))
        return false;
    return text[12] == checkDigit(text, 12) && text[13] == checkDigit(text, 13);
}

} // namespace operations
