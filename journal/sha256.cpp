#include "journal/sha256.h"

#include <openssl/evp.h>

#include <cstdio>
#include <fstream>
#include <iterator>

namespace journal {

std::string sha256Hex(std::string_view bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned size = 0;
    EVP_Digest(bytes.data(), bytes.size(), digest, &size, EVP_sha256(), nullptr);
    std::string hex;
    char pair[3];
    for (unsigned i = 0; i < size; ++i) {
        std::snprintf(pair, sizeof pair, "%02x", digest[i]);
        hex += pair;
    }
    return hex;
}

std::optional<std::string> fileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return std::nullopt;
    return bytes;
}

std::string fileSha256(const std::filesystem::path& file) {
    const auto bytes = fileBytes(file);
    return bytes ? sha256Hex(*bytes) : std::string();
}

} // namespace journal
