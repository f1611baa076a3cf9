#include "settings/ini_file.h"

#include "core/path_text.h"
#include "core/whole_file.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <vector>

namespace settings {
namespace {

std::string_view strip(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

struct Line {
    std::string text; // without its line end
};

std::vector<Line> splitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back({std::string(line)});
        start = end + 1;
    }
    return lines;
}

// A value in matching double or single quotes is read without them, as Windows reads it.
std::string_view unquoted(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// The section name of a "[name]" line, if it is one.
std::optional<std::string_view> sectionName(std::string_view line) {
    line = strip(line);
    if (line.size() < 2 || line.front() != '[')
        return std::nullopt;
    const auto close = line.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return strip(line.substr(1, close - 1));
}

// The key of a "key=value" line, if it is one (comments are not).
std::optional<std::string_view> keyName(std::string_view line) {
    const std::string_view s = strip(line);
    if (s.empty() || s.front() == ';' || s.front() == '#')
        return std::nullopt;
    const auto eq = line.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    return strip(line.substr(0, eq));
}

// A profile file holds a few lines; a larger file is not one and is never read whole.
constexpr std::size_t sizeLimit = 1 << 20;

// The file's text: empty when there is no file, nothing when it is there but cannot be read.
std::optional<std::string> readFile(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec) && !ec)
        return std::string{};
    std::string error;
    return core::readFileWithin(path, sizeLimit, error);
}

} // namespace

std::optional<std::string> readProfileString(const std::string& path, std::string_view section,
                                             std::string_view key) {
    const auto text = readFile(core::pathFromUtf8(path));
    if (!text)
        return std::nullopt;
    bool inSection = false;
    for (const auto& line : splitLines(*text)) {
        if (const auto name = sectionName(line.text)) {
            inSection = sameName(*name, section);
        } else if (inSection) {
            const auto k = keyName(line.text);
            if (k && sameName(*k, key))
                return std::string(
                    unquoted(strip(std::string_view(line.text).substr(line.text.find('=') + 1))));
        }
    }
    return std::nullopt;
}

std::string withProfileString(std::string_view text, std::string_view section, std::string_view key,
                              std::string_view value) {
    const bool crlf = text.empty() || text.find("\r\n") != std::string_view::npos;
    auto lines = splitLines(text);
    const std::string entry = std::string(key) + "=" + std::string(value);

    const auto header = std::find_if(lines.begin(), lines.end(), [&](const Line& l) {
        const auto name = sectionName(l.text);
        return name && sameName(*name, section);
    });
    if (header == lines.end()) {
        if (!lines.empty() && !strip(lines.back().text).empty())
            lines.push_back({""});
        lines.push_back({"[" + std::string(section) + "]"});
        lines.push_back({entry});
    } else {
        auto insertAfter = header;
        auto it = std::next(header);
        for (; it != lines.end() && !sectionName(it->text); ++it) {
            const auto k = keyName(it->text);
            if (k && sameName(*k, key)) {
                it->text = std::string(*k) + "=" + std::string(value);
                break;
            }
            if (!strip(it->text).empty())
                insertAfter = it;
        }
        if (it == lines.end() || sectionName(it->text))
            lines.insert(std::next(insertAfter), {entry});
    }

    std::string out;
    for (const auto& line : lines)
        out += line.text + (crlf ? "\r\n" : "\n");
    return out;
}

bool writeProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
    // A file that is there but cannot be read is not replaced: its other content would be lost.
    const std::filesystem::path file = core::pathFromUtf8(path);
    const auto current = readFile(file);
    if (!current)
        return false;
    std::string error;
    return core::writeFileWhole(file, withProfileString(*current, section, key, value), error);
}

} // namespace settings
