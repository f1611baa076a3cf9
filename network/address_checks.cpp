#include "network/address_checks.h"

namespace network {
namespace {

// Why a text is not an address; the callers only tell 0 from the rest.
enum Fault { valid = 0, wrongLength, misplacedDot, notDigits, groupAbove255 };

int groupFault(std::string_view group) {
    for (char c : group)
        if (c < '0' || c > '9')
            return notDigits;
    const int value = (group[0] - '0') * 100 + (group[1] - '0') * 10 + (group[2] - '0');
    return value > 255 ? groupAbove255 : valid;
}

} // namespace

int TesteIPs(std::string_view text) {
    if (text.size() != 15)
        return wrongLength;
    if (text[3] != '.' || text[7] != '.' || text[11] != '.')
        return misplacedDot;
    for (std::size_t start : {0u, 4u, 8u, 12u})
        if (const int fault = groupFault(text.substr(start, 3)))
            return fault;
    return valid;
}

bool rfc1918(std::string_view text) {
    return text.starts_with("010") || text.starts_with("172") || text.starts_with("192.168");
}

} // namespace network
