#pragma once
// The sale the end-to-end test sends when no file is chosen.

#include <string>

namespace documents {

// One unsigned CF-e sale in one line, no blanks between the tags, no line end after it: one item
// "MiniPc Vexor" of 654.32 (ICMS 12 %, PIS 6 %, COFINS 4 %), paid 2000.00 in cash. The
// software house's CNPJ (also the customer's), the issuer's CNPJ and its state registration are
// settings of the build (TARVIK_SAMPLE_* in CMake), by default values the emulator accepts.
std::string sampleSale();

} // namespace documents
