#include "core/pseudo_random.h"

namespace core {

std::uint32_t seed16(std::int64_t seed) {
    return static_cast<std::uint32_t>(((seed % 65536) + 65536) % 65536);
}

std::uint32_t drawOnce(std::uint32_t seed, std::uint32_t n) {
    const std::uint32_t state = seed * 134775813u + 1u;
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(state) * n) >> 32);
}

} // namespace core
