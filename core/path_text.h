#pragma once
// File names travel through the programs as UTF-8 text (typed in a field, given on the command
// line, shown in a message) and reach the file system as paths. On Windows a path built from a
// std::string reads it in the ANSI code page, and path::string() gives ANSI bytes or throws for
// a character the code page lacks; these two conversions keep every name intact instead.

#include <filesystem>
#include <string>
#include <string_view>

namespace core {

std::filesystem::path pathFromUtf8(std::string_view utf8);
std::string utf8FromPath(const std::filesystem::path& path);

} // namespace core
