#include "journal/call_entry.h"

#include <array>
#include <utility>

namespace journal {
namespace {

constexpr std::array<std::pair<Outcome, std::string_view>, 6> names = {{
    {Outcome::Answered, "respondida"},
    {Outcome::Busy, "ocupado"},
    {Outcome::Cancelled, "cancelada"},
    {Outcome::LibraryCrashed, "biblioteca encerrada"},
    {Outcome::Unreachable, "sem acesso"},
    {Outcome::Refused, "recusada antes da chamada"},
}};

} // namespace

std::string_view outcomeName(Outcome outcome) {
    for (const auto& [value, name] : names)
        if (value == outcome)
            return name;
    return {};
}

std::optional<Outcome> outcomeNamed(std::string_view name) {
    for (const auto& [value, text] : names)
        if (text == name)
            return value;
    return std::nullopt;
}

} // namespace journal
