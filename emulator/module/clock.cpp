#include "emulator/module/clock.h"

#include "core/time_of_day.h"

#include <cstdio>
#include <ctime>

namespace emulator {
namespace {

template <class... Args> std::string format(const char* pattern, Args... args) {
    char text[96];
    std::snprintf(text, sizeof text, pattern, args...);
    return text;
}

} // namespace

std::string stampOf(TimePoint when) {
    return dateOf(when) + timeOf(when);
}

std::string dateOf(TimePoint when) {
    const std::tm t = core::localCalendar(when);
    return format("%04d%02d%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
}

std::string timeOf(TimePoint when) {
    const std::tm t = core::localCalendar(when);
    return format("%02d%02d%02d", t.tm_hour, t.tm_min, t.tm_sec);
}

std::string logStampOf(TimePoint when) {
    const std::tm t = core::localCalendar(when);
    return format("%02d/%02d/%04d;%02d:%02d:%02d", t.tm_mday, t.tm_mon + 1, t.tm_year + 1900,
                  t.tm_hour, t.tm_min, t.tm_sec);
}

std::int64_t secondsOf(TimePoint when) {
    return std::chrono::duration_cast<std::chrono::seconds>(when.time_since_epoch()).count();
}

} // namespace emulator
