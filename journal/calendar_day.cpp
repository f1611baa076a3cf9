#include "journal/calendar_day.h"

#include <charconv>
#include <ctime>

namespace journal {
namespace {

std::optional<std::chrono::system_clock::time_point> midnight(std::string_view day, int plusDays) {
    if (day.size() != 10 || day[4] != '-' || day[7] != '-')
        return std::nullopt;
    auto number = [day](std::size_t at, std::size_t size) -> std::optional<int> {
        int value = 0;
        const char* end = day.data() + at + size;
        const auto [stop, error] = std::from_chars(day.data() + at, end, value);
        return error == std::errc() && stop == end ? std::optional<int>(value) : std::nullopt;
    };
    const auto year = number(0, 4), month = number(5, 2), dayOfMonth = number(8, 2);
    if (!year || !month || !dayOfMonth)
        return std::nullopt;
    const std::chrono::year_month_day date{std::chrono::year(*year),
                                           std::chrono::month(unsigned(*month)),
                                           std::chrono::day(unsigned(*dayOfMonth))};
    if (!date.ok())
        return std::nullopt;
    std::tm local{};
    local.tm_year = *year - 1900;
    local.tm_mon = *month - 1;
    local.tm_mday = *dayOfMonth + plusDays;
    local.tm_isdst = -1; // mktime decides whether summer time was in force
    const std::time_t when = std::mktime(&local);
    if (when == std::time_t(-1))
        return std::nullopt;
    return std::chrono::system_clock::from_time_t(when);
}

} // namespace

std::optional<std::chrono::system_clock::time_point> dayStart(std::string_view day) {
    return midnight(day, 0);
}

std::optional<std::chrono::system_clock::time_point> dayEnd(std::string_view day) {
    return midnight(day, 1);
}

} // namespace journal
