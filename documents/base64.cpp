#include "documents/base64.h"

#include <array>
#include <cstdint>

namespace documents {
namespace {

constexpr std::int8_t notInAlphabet = -1;

constexpr std::array<std::int8_t, 256> makeValues() {
    std::array<std::int8_t, 256> values{};
    values.fill(notInAlphabet);
    constexpr std::string_view alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (std::size_t i = 0; i < alphabet.size(); ++i)
        values[static_cast<unsigned char>(alphabet[i])] = static_cast<std::int8_t>(i);
    return values;
}

constexpr auto values = makeValues();

bool skipped(char c) {
    return c == '\r' || c == '\n' || c == ' ' || c == '\t';
}

} // namespace

std::optional<std::string> decodeBase64Lenient(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size() / 4 * 3 + 2);
    std::uint32_t bits = 0;
    int pendingBits = 0;
    std::size_t symbols = 0;
    std::size_t padding = 0;
    for (const char c : text) {
        if (skipped(c))
            continue;
        if (c == '=') {
            ++padding;
            continue;
        }
        const std::int8_t value = values[static_cast<unsigned char>(c)];
        if (value == notInAlphabet || padding > 0)
            return std::nullopt;
        ++symbols;
        bits = (bits << 6) | static_cast<std::uint32_t>(value);
        pendingBits += 6;
        if (pendingBits >= 8) {
            pendingBits -= 8;
            bytes.push_back(static_cast<char>((bits >> pendingBits) & 0xFF));
        }
    }
    const std::size_t partial = symbols % 4;
    if (partial == 1 || padding > (4 - partial) % 4)
        return std::nullopt;
    return bytes;
}

} // namespace documents
