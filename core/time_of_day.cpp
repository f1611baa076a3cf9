#include "core/time_of_day.h"

#include <chrono>
#include <ctime>

namespace core {

std::tm localCalendar(std::chrono::system_clock::time_point when) {
    const std::time_t t = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    return local;
}

TimeOfDay localTimeOfDay() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    const std::tm local = localCalendar(now);
    return {local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(ms)};
}

} // namespace core
