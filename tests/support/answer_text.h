#pragma once
// Text helpers the tests share: an answer cut into its fields, and a document with one piece
// replaced to break or change one thing.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace test_support {

// An answer cut at every "|", empty fields kept (a final "|" leaves an empty last field).
inline std::vector<std::string> answerFields(std::string_view answer) {
    std::vector<std::string> result;
    for (;;) {
        const auto bar = answer.find('|');
        result.emplace_back(answer.substr(0, bar));
        if (bar == std::string_view::npos)
            return result;
        answer.remove_prefix(bar + 1);
    }
}

// `text` with the first occurrence of `from` replaced by `to`. Throws std::invalid_argument
// when `from` is not there, so a test whose fixture changed fails instead of testing nothing.
inline std::string replacedFirst(std::string text, std::string_view from, std::string_view to) {
    const auto at = text.find(from);
    if (at == std::string::npos)
        throw std::invalid_argument("not found in the text: " + std::string(from));
    return text.replace(at, from.size(), to);
}

} // namespace test_support
