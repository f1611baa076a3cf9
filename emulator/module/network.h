#pragma once
// Network configuration documents: the one document of ConfigurarInterfaceDeRede and the four
// "|"-separated slots of ConfigurarInterfaceDeRedeMFE, read, checked and stored; and the
// escaped one-line form in which the extended status reports a stored configuration.

#include "emulator/module/state.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace emulator {

// The configuration of one document, or nothing with `error` saying what is out of pattern.
std::optional<NetworkConfig> readNetworkConfig(std::string_view document, std::string& error);

// The four slots of an extended configuration; empty slots stay empty, at least one is filled.
std::optional<std::array<NetworkConfig, 4>> readNetworkSlots(std::string_view text,
                                                             std::string& error);

// An address written with every group padded to three digits ("192.168.001.010"); the text
// unchanged when it is not an address.
std::string paddedAddress(std::string_view address);

// The stored configuration as one line of XML whose double quotes are escaped with a
// backslash and whose "|" and backslashes are character references, so that it fits in one
// answer field and reads back as the same document once the backslashes are removed.
std::string escapedConfig(const NetworkConfig& config);

} // namespace emulator
