#pragma once
// Files read and written whole. A file is written to a temporary name in the same folder, flushed
// to the disk (unless it is a passing message) and then renamed to its final name, so neither a
// reader nor a crash ever finds it half-written.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace core {

// Whether a file's content reaches the disk before its rename. Documents and settings the user
// keeps do; a message to a peer on this machine, worthless after a power cut, need not wait.
enum class FlushToDisk { Yes, No };

// Writes `bytes` to `target` through a temporary file of its own in the same folder (see
// temporaryFileFor), replacing any file of that name. Once the file is in place, the temporaries
// that writers killed before their rename left beside it are removed. False with `error` set on
// failure, saying what failed in Portuguese with the system's reason and no temporary name (the
// caller names `target`); the temporary file is then removed.
bool writeFileWhole(const std::filesystem::path& target, std::string_view bytes, std::string& error,
                    FlushToDisk flush = FlushToDisk::Yes);

// The temporary name of the calling thread's writes of `target`: target + "." + process id + "." +
// thread id + ".tmp". Two writers of the same file at one time, in one process or two, never share
// one, and a reader watching for ".xml" files ignores it.
std::filesystem::path temporaryFileFor(const std::filesystem::path& target);

// Whether `file` is a temporary of a write of `target` whose process is no longer running.
bool isStaleTemporaryOf(const std::filesystem::path& file, const std::filesystem::path& target);

// The whole file, or nullopt with `error` set when it cannot be read or exceeds `limit` bytes
// (the excess is never read).
std::optional<std::string> readFileWithin(const std::filesystem::path& file, std::size_t limit,
                                          std::string& error);

} // namespace core
