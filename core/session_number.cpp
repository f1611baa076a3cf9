#include "core/session_number.h"

#include "core/pseudo_random.h"

#include <cstdio>

namespace core {

std::string geranumsessao(const TimeOfDay& t) {
    const std::int64_t seed = std::int64_t{t.hour} * 999 + std::int64_t{t.minute} * 9999 +
                              t.second - std::int64_t{t.millisecond} * 31073;
    const std::uint32_t number = drawOnce(seed16(seed), 999998) + 1;
    char text[8];
    std::snprintf(text, sizeof text, "%06u", number);
    return text;
}

} // namespace core
