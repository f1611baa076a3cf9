#pragma once
// The linear congruential generator both number generators use, reseeded for every draw:
// state = state * 134775813 + 1 (mod 2^32); a draw in a range of n values is the upper
// 32 bits of state * n.

#include <cstdint>

namespace core {

// Reduces a seed expression to 16 bits, as a value from 0 to 65535.
std::uint32_t seed16(std::int64_t seed);

// Seeds the generator with `seed` and draws once in [0, n).
std::uint32_t drawOnce(std::uint32_t seed, std::uint32_t n);

} // namespace core
