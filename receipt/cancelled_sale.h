#pragma once
// Finding the issued CF-e of the sale a saved cancellation cancels, among the files the
// window remembers or guesses from their names.

#include <filesystem>
#include <optional>
#include <vector>

namespace receipt {

// The first of `candidates` that is an issued CF-e whose key is the one the cancellation in
// `cancellationFile` cancels; nullopt when none is (or the cancellation cannot be read).
std::optional<std::filesystem::path>
cancelledSaleFile(const std::filesystem::path& cancellationFile,
                  const std::vector<std::filesystem::path>& candidates);

} // namespace receipt
