#pragma once
// Days as the user writes them ("AAAA-MM-DD"), on the local calendar, for the journal's date
// filters: a day runs from its local midnight to the next one.

#include <chrono>
#include <optional>
#include <string_view>

namespace journal {

// The local midnight that starts the day; nothing when the text is not a real day.
std::optional<std::chrono::system_clock::time_point> dayStart(std::string_view day);

// The local midnight that ends the day (the next day's start).
std::optional<std::chrono::system_clock::time_point> dayEnd(std::string_view day);

} // namespace journal
