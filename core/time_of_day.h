#pragma once
// The local time of day, split as the number generators read it. Passed in, so that the
// generators are pure functions and tests can choose the time.

#include <chrono>
#include <ctime>

namespace core {

// The calendar fields of a moment in the local time zone.
std::tm localCalendar(std::chrono::system_clock::time_point when);

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

TimeOfDay localTimeOfDay();

} // namespace core
