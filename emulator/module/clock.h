#pragma once
// The module's clock: local date and time in the compact forms the answers and documents use.

#include <chrono>
#include <cstdint>
#include <string>

namespace emulator {

using TimePoint = std::chrono::system_clock::time_point;

std::string stampOf(TimePoint when);    // AAAAMMDDHHMMSS
std::string dateOf(TimePoint when);     // AAAAMMDD
std::string timeOf(TimePoint when);     // HHMMSS
std::string logStampOf(TimePoint when); // DD/MM/AAAA;HH:MM:SS
std::int64_t secondsOf(TimePoint when);

} // namespace emulator
