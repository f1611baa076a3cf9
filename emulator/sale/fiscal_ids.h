#pragma once
// Check digits of the Brazilian registrations and codes the module checks or issues: CNPJ, CPF,
// GTIN, the 44-digit access key of a CF-e, and the IBGE codes of the federative units.

#include <string>
#include <string_view>

namespace emulator {

bool isDigits(std::string_view text);

// 14 digits with both check digits right; the ten repeated-digit texts are refused.
bool isCnpj(std::string_view text);

// 11 digits with both check digits right; the ten repeated-digit texts are refused.
bool isCpf(std::string_view text);

// A GTIN-8, -12, -13 or -14 with its check digit right.
bool isGtin(std::string_view text);

// The modulo-11 check digit of the first 43 digits of an access key (weights 2 to 9 from the
// right; 0 when the rest leaves 10 or 11).
char accessKeyCheckDigit(std::string_view digits43);

// The Luhn check digit of a digit text (the last digit of an IMEI).
char luhnCheckDigit(std::string_view digits);

// The abbreviation of the federative unit with this IBGE code ("SP" for 35), or empty.
std::string_view ufAbbreviation(int code);

} // namespace emulator
