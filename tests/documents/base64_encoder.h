#pragma once
// Standard Base64 with padding, for building module answers in tests.

#include <string>
#include <string_view>

namespace documents_test {

inline std::string base64(std::string_view bytes) {
    constexpr std::string_view alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const unsigned a = static_cast<unsigned char>(bytes[i]);
        const unsigned b = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
        const unsigned c = i + 2 < bytes.size() ? static_cast<unsigned char>(bytes[i + 2]) : 0;
        const unsigned n = (a << 16) | (b << 8) | c;
        text += alphabet[(n >> 18) & 63];
        text += alphabet[(n >> 12) & 63];
        text += i + 1 < bytes.size() ? alphabet[(n >> 6) & 63] : '=';
        text += i + 2 < bytes.size() ? alphabet[n & 63] : '=';
    }
    return text;
}

} // namespace documents_test
