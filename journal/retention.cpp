#include "journal/retention.h"

#include "settings/ini_file.h"

#include <charconv>

namespace journal {
namespace {

std::optional<std::uint64_t> positive(const std::optional<std::string>& text) {
    if (!text)
        return std::nullopt;
    std::uint64_t value = 0;
    const char* end = text->data() + text->size();
    const auto [at, error] = std::from_chars(text->data(), end, value);
    if (error != std::errc() || at != end || value == 0)
        return std::nullopt;
    return value;
}

} // namespace

Retention retentionFrom(const std::string& iniPath) {
    Retention retention;
    // Limits that would overflow are no limits at all: the defaults stand.
    if (const auto days = positive(settings::readProfileString(iniPath, retentionSection, daysKey));
        days && *days < 100000)
        retention.maxAge = std::chrono::hours(*days * 24);
    if (const auto megabytes =
            positive(settings::readProfileString(iniPath, retentionSection, megabytesKey));
        megabytes && *megabytes < (std::uint64_t(1) << 40))
        retention.maxBytes = *megabytes * 1024 * 1024;
    return retention;
}

} // namespace journal
