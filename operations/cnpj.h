#pragma once
// The CNPJ (company registration number) check-digit test.

#include <string_view>

namespace operations {

// True when `text` is 14 ASCII digits, not all the same, whose last two are the check digits
// of the first twelve and thirteen. Any other text is false; nothing is raised.
bool isCNPJ(std::string_view text);

} // namespace operations
