#include "emulator/sale/fiscal_ids.h"

#include <algorithm>
#include <array>
#include <utility>

namespace emulator {
namespace {

bool allSame(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [&](char c) { return c == text.front(); });
}

// Modulo-11 check digit over `digits`, with weights from 2 up to `maxWeight` from the right.
int mod11(std::string_view digits, int maxWeight) {
    int sum = 0;
    int weight = 2;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        sum += (*it - '0') * weight;
        weight = weight == maxWeight ? 2 : weight + 1;
    }
    const int rest = sum % 11;
    return rest < 2 ? 0 : 11 - rest;
}

} // namespace

bool isDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool isCnpj(std::string_view text) {
    if (text.size() != 14 || !isDigits(text) || allSame(text))
        return false;
    return mod11(text.substr(0, 12), 9) == text[12] - '0' &&
           mod11(text.substr(0, 13), 9) == text[13] - '0';
}

bool isCpf(std::string_view text) {
    if (text.size() != 11 || !isDigits(text) || allSame(text))
        return false;
    return mod11(text.substr(0, 9), 11) == text[9] - '0' &&
           mod11(text.substr(0, 10), 11) == text[10] - '0';
}

bool isGtin(std::string_view text) {
    if (!isDigits(text) ||
        (text.size() != 8 && text.size() != 12 && text.size() != 13 && text.size() != 14))
        return false;
    int sum = 0;
    int weight = 3;
    for (auto it = text.rbegin() + 1; it != text.rend(); ++it) {
        sum += (*it - '0') * weight;
        weight = 4 - weight;
    }
    return (10 - sum % 10) % 10 == text.back() - '0';
}

char accessKeyCheckDigit(std::string_view digits43) {
    return static_cast<char>('0' + mod11(digits43, 9));
}

char luhnCheckDigit(std::string_view digits) {
    int sum = 0;
    bool doubled = true;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        int d = *it - '0';
        if (doubled && (d *= 2) > 9)
            d -= 9;
        sum += d;
        doubled = !doubled;
    }
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

std::string_view ufAbbreviation(int code) {
    static constexpr std::array<std::pair<int, std::string_view>, 27> units{{
        {12, "AC"}, {27, "AL"}, {13, "AM"}, {16, "AP"}, {29, "BA"}, {23, "CE"}, {53, "DF"},
        {32, "ES"}, {52, "GO"}, {21, "MA"}, {31, "MG"}, {50, "MS"}, {51, "MT"}, {15, "PA"},
        {25, "PB"}, {26, "PE"}, {22, "PI"}, {41, "PR"}, {33, "RJ"}, {24, "RN"}, {11, "RO"},
        {14, "RR"}, {43, "RS"}, {42, "SC"}, {28, "SE"}, {35, "SP"}, {17, "TO"},
    }};
    for (const auto& [number, abbreviation] : units) {
        if (number == code)
            return abbreviation;
    }
    return {};
}

} // namespace emulator
