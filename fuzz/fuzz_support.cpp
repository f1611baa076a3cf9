#include "fuzz/fuzz_support.h"

#include "xml/xml_security.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace fuzz {

void require(bool holds, std::string_view property, std::string_view detail) {
    if (holds)
        return;
    std::fprintf(stderr, "property broken: %.*s\n", int(property.size()), property.data());
    if (!detail.empty())
        std::fprintf(stderr, "detail: %.*s\n", int(detail.size()), detail.data());
    std::abort();
}

bool isUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        unsigned low = 0x80;
        unsigned high = 0xBF;
        if (lead < 0x80) {
            ++i;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const unsigned byte = static_cast<unsigned char>(text[i + k]);
            const bool inRange = k == 1 ? byte >= low && byte <= high : (byte & 0xC0) == 0x80;
            if (!inRange)
                return false;
        }
        i += length;
    }
    return true;
}

void requireUtf8(const core::Lines& lines, std::string_view what) {
    for (const auto& line : lines)
        require(isUtf8(line), what, line);
}

bool isWellFormedXml(std::string_view xml) {
    return xml::parseXmlSafely(xml).doc != nullptr;
}

namespace {

struct Scratch {
    std::filesystem::path folder;
    Scratch() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tarvik-fuzz-XXXXXX");
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        folder = pattern;
    }
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
};

} // namespace

const std::filesystem::path& scratchFolder() {
    static const Scratch scratch;
    return scratch.folder;
}

void writeFile(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    require(bool(out), "the scratch file is written", file.string());
}

std::string readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Input splitSelector(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return {};
    return {data[0], std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1)};
}

std::vector<std::string> parts(std::string_view text, char separator, std::size_t count) {
    std::vector<std::string> result;
    while (result.size() + 1 < count) {
        const std::size_t cut = text.find(separator);
        if (cut == std::string_view::npos)
            break;
        result.emplace_back(text.substr(0, cut));
        text.remove_prefix(cut + 1);
    }
    result.emplace_back(text);
    result.resize(count);
    return result;
}

} // namespace fuzz
