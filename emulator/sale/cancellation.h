#pragma once
// The cancellation request (CFeCanc) a point of sale sends to cancel its last sale.

#include "emulator/sale/rejections.h"

#include <libxml/tree.h>

#include <string>
#include <string_view>
#include <variant>

namespace emulator {

struct CancellationRequest {
    std::string key; // chCanc, "CFe" + 44 digits
    std::string softwareHouseCnpj;
    std::string signAC;
    std::string cashRegister;
};

// Reads and checks the request against the module's layout version ("0.06" to "0.08"); a
// Rejection names its first fault.
std::variant<CancellationRequest, Rejection> readCancellationRequest(const xmlDoc* doc,
                                                                     std::string_view layout);

} // namespace emulator
