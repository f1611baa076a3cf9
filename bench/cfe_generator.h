#pragma once
// A large CF-e sale document for the benchmarks, generated rather than stored.

#include <string>

namespace bench {

struct SaleShape {
    int items = 500;     // the schemas allow at most 500 det
    int obsPerItem = 6;  // obsFiscoDet groups per item (0 to 10), to reach the size wanted
    int brokenItems = 0; // items with an error, spread evenly over the document
};

// An indented sale document. Broken items carry, in turn: a CFOP of three digits, an element the
// schema does not know, a missing uCom, and a pICMS with one decimal.
std::string generateSale(const SaleShape& shape);

} // namespace bench
