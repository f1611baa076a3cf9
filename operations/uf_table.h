#pragma once
// The Brazilian federative units and their IBGE codes.

#include <optional>
#include <span>
#include <string_view>

namespace operations {

struct Uf {
    std::string_view sigla;  // two-letter abbreviation
    std::string_view codigo; // IBGE code, two digits
};

// The 27 units in alphabetical order of their abbreviations.
std::span<const Uf> ufTable();

// The abbreviation of the unit with an IBGE code: "00" for a code from 0 to 53 that no unit has,
// nothing for a code outside 0 to 53.
std::optional<std::string_view> ufByCode(int code);

} // namespace operations
