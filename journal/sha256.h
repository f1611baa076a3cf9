#pragma once
// SHA-256 digests of the files a call wrote, as lower-case hexadecimal.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace journal {

std::string sha256Hex(std::string_view bytes);

// A file's whole bytes; nothing when it cannot be read.
std::optional<std::string> fileBytes(const std::filesystem::path& file);

// The digest of a file's bytes; empty when it cannot be read.
std::string fileSha256(const std::filesystem::path& file);

} // namespace journal
