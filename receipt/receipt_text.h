#pragma once
// How the receipt writes values (pt-BR numbers, document masks, dates) and fits text into the
// columns of a paper width. Texts are UTF-8; widths count characters, not bytes.

#include <string>
#include <string_view>
#include <vector>

namespace receipt {

// A decimal as the XML writes it ("1234.5", "10.555") in pt-BR: dot thousands, comma decimal,
// at least `minDecimals` places ("1.234,50"). Text that is not a plain decimal comes back as is.
std::string decimalText(std::string_view xmlValue, int minDecimals = 2);

// Money with two places: "1.234,56"; text that is not a plain decimal comes back as is.
std::string money(std::string_view xmlValue);

// A quantity without trailing zeros: "2.0000" → "2", "1.5000" → "1,5".
std::string quantity(std::string_view xmlValue);

// True when the decimal is absent or zero.
bool isZero(std::string_view xmlValue);

// The value in hundredths ("12.3" → 1230); 0 for text that is not a decimal.
long long hundredths(std::string_view xmlValue);

// Hundredths back to an XML decimal ("12.30").
std::string fromHundredths(long long value);

std::string cnpjMask(std::string_view digits); // 00.000.000/0000-00
std::string cpfMask(std::string_view digits);  // 000.000.000-00
std::string cepMask(std::string_view digits);  // 00000-000

// "20261211" → "11/12/2026", "143005" → "14:30:05"; other text comes back as is.
std::string dateText(std::string_view yyyymmdd);
std::string timeText(std::string_view hhmmss);

// The 44 digits in groups of four with single spaces.
std::string keyGroups(std::string_view key);

// Fitting text into `columns` characters.
std::size_t width(std::string_view text);
std::string cut(std::string_view text, std::size_t columns);
std::string centred(std::string_view text, std::size_t columns);
std::string rightAligned(std::string_view text, std::size_t columns);
// Label on the left, value on the right, at least one space between; the label is cut when
// both do not fit.
std::string labelValue(std::string_view label, std::string_view value, std::size_t columns);
// Words wrapped into lines of at most `columns` characters; a longer word is split.
std::vector<std::string> wrapped(std::string_view text, std::size_t columns);
// Fields joined by " | ", a line breaking only after a "|" so no field is split; a field longer
// than a line is wrapped by its words.
std::vector<std::string> wrappedFields(const std::vector<std::string_view>& fields,
                                       std::size_t columns);

} // namespace receipt
