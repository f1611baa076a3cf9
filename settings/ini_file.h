#pragma once
// INI (profile) files with Windows semantics: section and key names compare without case,
// values are read as stored (backslashes literal) but without matching enclosing quotes, and a
// rewrite keeps every other section, key, comment and the file's line ends.

#include <optional>
#include <string>
#include <string_view>

namespace settings {

// `path` is UTF-8 text.

// The value of `key` in `section`, or nothing when the file, section or key is absent or the
// file cannot be read.
std::optional<std::string> readProfileString(const std::string& path, std::string_view section,
                                             std::string_view key);

// Sets `key` in `section`, creating the file, section or key when missing. The file is written
// whole under a temporary name and renamed over the old one. Returns false when it cannot be
// written, or when a file is there that cannot be read (it is then left as it is).
bool writeProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

// The profile text with `key` in `section` set to `value` (the pure half of the write).
std::string withProfileString(std::string_view text, std::string_view section, std::string_view key,
                              std::string_view value);

} // namespace settings
