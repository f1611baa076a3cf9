#pragma once
// How long the journal keeps calls and how large it may grow: the [HISTORICO] section of the
// INI file (DIAS=90, LIMITE_MB=200 when absent or not a positive whole number). Applied when a
// front end starts.

#include "journal/journal_file.h"

#include <string>
#include <vector>

namespace journal {

inline constexpr std::string_view retentionSection = "HISTORICO";
inline constexpr std::string_view daysKey = "DIAS";
inline constexpr std::string_view megabytesKey = "LIMITE_MB";

Retention retentionFrom(const std::string& iniPath);

} // namespace journal
