#pragma once
// The module's files hold its private key and its answers: they are created readable and
// writable by their owner alone (0600, folders 0700). On Windows a new file takes the access
// list of its folder, which below the user's profile already admits the user alone (besides
// the system and the administrators).

#include <filesystem>

namespace emulator {

// Makes sure `file` exists and only its owner may read or write it; `empty` also empties it.
// An existing file is narrowed too. False when it cannot be opened.
bool prepareOwnerOnlyFile(const std::filesystem::path& file, bool empty);

// Creates `folder` (and its missing parents) when missing; a folder it created is open to its
// owner alone.
void ensureOwnerOnlyFolder(const std::filesystem::path& folder);

} // namespace emulator
