#pragma once
// File names travel through the logic as UTF-8 text (as typed in a field) and reach the file
// system as paths; these two conversions keep non-ASCII names intact on every platform.

#include <filesystem>
#include <string>
#include <string_view>

namespace documents {

std::filesystem::path pathFromUtf8(std::string_view utf8);
std::string utf8FromPath(const std::filesystem::path& path);

// The file-name part (no folder) of a field's text with leading and trailing blanks removed.
std::string fileNamePart(std::string_view fieldText);

} // namespace documents
