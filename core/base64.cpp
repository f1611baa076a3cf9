#include "core/base64.h"

#include <array>
#include <cstdint>

namespace core {
namespace {

constexpr int notBase64 = -1;
constexpr int skipped = -2;
constexpr int padding = -3;

constexpr std::array<int, 256> makeTable() {
    std::array<int, 256> table{};
    table.fill(notBase64);
    constexpr std::string_view alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (std::size_t i = 0; i < alphabet.size(); ++i)
        table[static_cast<unsigned char>(alphabet[i])] = int(i);
    for (const char c : {'\r', '\n', ' ', '\t'})
        table[static_cast<unsigned char>(c)] = skipped;
    table['='] = padding;
    return table;
}

constexpr std::array<int, 256> table = makeTable();

} // namespace

std::optional<std::string> decodeBase64Lenient(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size() / 4 * 3 + 3);
    std::uint32_t bits = 0;
    std::size_t dataCharacters = 0;
    std::size_t pads = 0;
    for (const char c : text) {
        const int value = table[static_cast<unsigned char>(c)];
        if (value == skipped)
            continue;
        if (value == padding) {
            ++pads;
            continue;
        }
        if (value == notBase64 || pads > 0)
            return std::nullopt;
        bits = (bits << 6) | std::uint32_t(value);
        if (++dataCharacters % 4 == 0) {
            bytes.push_back(char((bits >> 16) & 0xFF));
            bytes.push_back(char((bits >> 8) & 0xFF));
            bytes.push_back(char(bits & 0xFF));
            bits = 0;
        }
    }
    const std::size_t over = dataCharacters % 4;
    if (over == 1 || (pads > 0 && (over == 0 || pads != 4 - over)))
        return std::nullopt;
    if (over == 2) {
        bytes.push_back(char((bits >> 4) & 0xFF));
    } else if (over == 3) {
        bytes.push_back(char((bits >> 10) & 0xFF));
        bytes.push_back(char((bits >> 2) & 0xFF));
    }
    return bytes;
}

} // namespace core
