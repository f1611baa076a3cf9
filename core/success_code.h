#pragma once
// Whether a module answer reports that the operation was done.

#include "core/catalogue.h"

#include <string_view>

namespace core {

// True when `code` (the answer code of the code cut) is a success of `operation`. An answer
// code is two digits naming the function and three naming the result, "000" being success:
// 08000 for ConsultarSAT, 10000 for the status queries. AtivarSAT also succeeds with 04006
// (certificate request created). ConsultarNumeroSessao hands back the stored answer of the
// session it asks for, whatever operation that was, so any code but its own errors (11001 and
// up) is a success there.
bool isSuccessCode(const Operation& operation, std::string_view code);

} // namespace core
