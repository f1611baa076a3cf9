#pragma once

#include "core/time_of_day.h"

#include <string>

namespace core {

// A new session number: six digits, 000001 to 999998, drawn from the time of day. Two draws
// in the same millisecond give the same number.
std::string geranumsessao(const TimeOfDay& time);

} // namespace core
