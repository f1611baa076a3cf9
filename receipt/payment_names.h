#pragma once
// The names of the payment methods (cMP) a receipt prints.

#include <string>
#include <string_view>

namespace receipt {

// The published name of the code ("01" → "Dinheiro"); a code outside the table is named by
// its number.
std::string paymentName(std::string_view code);

} // namespace receipt
