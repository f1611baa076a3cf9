#pragma once
// The two checks the network pages make on an address typed in a form.

#include <string_view>

namespace network {

// The address format check: 0 when `text` is an address written as "nnn.nnn.nnn.nnn" (exactly
// 15 characters, every group three decimal digits up to 255, as in 192.168.001.010); another
// value otherwise. Shorter forms such as 10.0.0.1 and the empty text are not addresses.
int TesteIPs(std::string_view text);

// The private-range check: true when `text` begins with "010", "172" or "192.168". Nothing after
// the prefix is examined, and the first group 10 counts only when written "010".
bool rfc1918(std::string_view text);

} // namespace network
