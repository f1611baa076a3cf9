#pragma once
// The local time of day, split as the number generators read it. Passed in, so that the
// generators are pure functions and tests can choose the time.

namespace core {

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

TimeOfDay localTimeOfDay();

} // namespace core
