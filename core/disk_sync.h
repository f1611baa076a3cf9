#pragma once
// Getting a file's content onto the disk before it is renamed into place: without it, a power
// cut soon after a rename can leave the new name on an empty or partly written file.

#include <filesystem>

namespace core {

// Waits until the content of `file` has reached the disk. True when it has, and also for a file
// that has no disk content to flush (a pipe); false when the file cannot be opened or flushed.
bool syncToDisk(const std::filesystem::path& file);

} // namespace core
