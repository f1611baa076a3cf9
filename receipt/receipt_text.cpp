#include "receipt/receipt_text.h"

#include "core/text.h"

#include <algorithm>
#include <cstdlib>

namespace receipt {
namespace {

bool allDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Splits "-1234.5" into sign, integer and decimal digits; false for anything else.
bool decimalParts(std::string_view text, bool& negative, std::string_view& integer,
                  std::string_view& decimals) {
    negative = !text.empty() && text.front() == '-';
    if (negative)
        text.remove_prefix(1);
    const auto dot = text.find('.');
    integer = text.substr(0, dot);
    decimals = dot == std::string_view::npos ? std::string_view{} : text.substr(dot + 1);
    return allDigits(integer) && (dot == std::string_view::npos || allDigits(decimals));
}

std::string masked(std::string_view digits, std::string_view mask) {
    if (!allDigits(digits) ||
        digits.size() != static_cast<std::size_t>(std::count(mask.begin(), mask.end(), '0')))
        return std::string(digits);
    std::string text;
    std::size_t next = 0;
    for (char m : mask)
        text += m == '0' ? digits[next++] : m;
    return text;
}

// The byte offset after `columns` characters.
std::size_t byteOffset(std::string_view text, std::size_t columns) {
    std::size_t pos = 0;
    for (std::size_t n = 0; n < columns && pos < text.size(); ++n)
        core::nextCodePoint(text, pos);
    return pos;
}

std::string spaces(std::size_t n) {
    return std::string(n, ' ');
}

} // namespace

std::string decimalText(std::string_view xmlValue, int minDecimals) {
    bool negative = false;
    std::string_view integer;
    std::string_view decimals;
    if (!decimalParts(xmlValue, negative, integer, decimals))
        return std::string(xmlValue);
    while (integer.size() > 1 && integer.front() == '0')
        integer.remove_prefix(1);
    std::string grouped;
    for (std::size_t i = 0; i < integer.size(); ++i) {
        if (i > 0 && (integer.size() - i) % 3 == 0)
            grouped += '.';
        grouped += integer[i];
    }
    std::string places(decimals);
    if (places.size() < static_cast<std::size_t>(minDecimals))
        places.append(static_cast<std::size_t>(minDecimals) - places.size(), '0');
    return (negative ? "-" : "") + grouped + (places.empty() ? "" : "," + places);
}

std::string money(std::string_view xmlValue) {
    bool negative = false;
    std::string_view integer;
    std::string_view decimals;
    if (!decimalParts(xmlValue, negative, integer, decimals))
        return std::string(xmlValue);
    return decimalText(fromHundredths(hundredths(xmlValue)));
}

std::string quantity(std::string_view xmlValue) {
    std::string text(xmlValue);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.')
            text.pop_back();
    }
    return decimalText(text, 0);
}

bool isZero(std::string_view xmlValue) {
    return hundredths(xmlValue) == 0;
}

long long hundredths(std::string_view xmlValue) {
    bool negative = false;
    std::string_view integer;
    std::string_view decimals;
    if (!decimalParts(xmlValue, negative, integer, decimals) || integer.size() > 15)
        return 0;
    std::string cents(decimals.substr(0, 2));
    cents.append(2 - cents.size(), '0');
    const long long value =
        std::atoll(std::string(integer).c_str()) * 100 + std::atoll(cents.c_str());
    return negative ? -value : value;
}

std::string fromHundredths(long long value) {
    const long long magnitude = value < 0 ? -value : value;
    std::string cents = std::to_string(magnitude % 100);
    if (cents.size() < 2)
        cents.insert(0, "0");
    return (value < 0 ? "-" : "") + std::to_string(magnitude / 100) + "." + cents;
}

std::string cnpjMask(std::string_view digits) {
    return masked(digits, "00.000.000/0000-00");
}

std::string cpfMask(std::string_view digits) {
    return masked(digits, "000.000.000-00");
}

std::string cepMask(std::string_view digits) {
    return masked(digits, "00000-000");
}

std::string dateText(std::string_view yyyymmdd) {
    if (!allDigits(yyyymmdd) || yyyymmdd.size() != 8)
        return std::string(yyyymmdd);
    return std::string(yyyymmdd.substr(6, 2)) + "/" + std::string(yyyymmdd.substr(4, 2)) + "/" +
           std::string(yyyymmdd.substr(0, 4));
}

std::string timeText(std::string_view hhmmss) {
    return masked(hhmmss, "00:00:00");
}

std::string keyGroups(std::string_view key) {
    std::string text;
    for (std::size_t i = 0; i < key.size(); i += 4)
        text += (i > 0 ? " " : "") + std::string(key.substr(i, 4));
    return text;
}

std::size_t width(std::string_view text) {
    return core::characterCount(text);
}

std::string cut(std::string_view text, std::size_t columns) {
    return std::string(text.substr(0, byteOffset(text, columns)));
}

std::string centred(std::string_view text, std::size_t columns) {
    const std::string fitted = cut(text, columns);
    return spaces((columns - width(fitted)) / 2) + fitted;
}

std::string rightAligned(std::string_view text, std::size_t columns) {
    const std::string fitted = cut(text, columns);
    return spaces(columns - width(fitted)) + fitted;
}

std::string labelValue(std::string_view label, std::string_view value, std::size_t columns) {
    const std::string fittedValue = cut(value, columns);
    const std::size_t room = columns - width(fittedValue);
    const std::string fittedLabel = room > 1 ? cut(label, room - 1) : std::string();
    return fittedLabel + spaces(room - width(fittedLabel)) + fittedValue;
}

std::vector<std::string> wrapped(std::string_view text, std::size_t columns) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = text.find_first_not_of(' ', pos);
        if (start == std::string_view::npos)
            break;
        const std::size_t end = std::min(text.find(' ', start), text.size());
        std::string_view word = text.substr(start, end - start);
        pos = end;
        if (!line.empty() && width(line) + 1 + width(word) <= columns) {
            line += " " + std::string(word);
            continue;
        }
        if (!line.empty())
            lines.push_back(line);
        line.clear();
        while (width(word) > columns) {
            const std::size_t split = byteOffset(word, columns);
            lines.emplace_back(word.substr(0, split));
            word.remove_prefix(split);
        }
        line = std::string(word);
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

std::vector<std::string> wrappedFields(const std::vector<std::string_view>& fields,
                                       std::size_t columns) {
    std::vector<std::string> lines;
    std::string line;
    for (std::string_view field : fields) {
        if (line.empty()) {
            line = std::string(field);
        } else if (width(line) + 3 + width(field) <= columns) {
            line += " | " + std::string(field);
            continue;
        } else if (width(line) + 2 <= columns) {
            lines.push_back(line + " |");
            line = std::string(field);
        } else { // a full line: the "|" opens the next
            lines.push_back(line);
            line = "| " + std::string(field);
        }
        if (width(line) > columns) {
            std::vector<std::string> parts = wrapped(line, columns);
            line = parts.back();
            parts.pop_back();
            lines.insert(lines.end(), parts.begin(), parts.end());
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

} // namespace receipt
