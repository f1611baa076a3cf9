#include "core/answer_cuts.h"

#include <algorithm>

namespace core {

std::vector<std::string> codeCut(std::string_view answer) {
    std::vector<std::string> pieces;
    std::string piece;
    char quote = 0;
    const auto close = [&] {
        if (!piece.empty())
            pieces.push_back(std::move(piece));
        piece.clear();
    };
    for (char c : answer) {
        if (quote) {
            piece += c;
            if (c == quote)
                quote = 0;
        } else if (c == '|' || c == '\r' || c == '\n') {
            close();
        } else {
            if (c == '"' || c == '\'')
                quote = c;
            piece += c;
        }
    }
    close();
    return pieces;
}

std::vector<std::string> fieldList(std::string_view answer) {
    std::vector<std::string> fields;
    std::string field;
    std::size_t i = 0;
    while (i < answer.size()) {
        const char c = answer[i];
        if (c == '|' || c == '\n' || c == '\r') {
            fields.push_back(std::move(field));
            field.clear();
            i += (c == '\r' && i + 1 < answer.size() && answer[i + 1] == '\n') ? 2 : 1;
        } else {
            field += c;
            ++i;
        }
    }
    // Text after the last separator is a field; a separator at the very end opens none.
    if (!field.empty())
        fields.push_back(std::move(field));
    return fields;
}

std::string answerCode(std::string_view answer) {
    auto pieces = codeCut(answer);
    return pieces.size() > 1 ? pieces[1] : std::string{};
}

std::vector<std::string> documentFields(std::string_view answer) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t bar = answer.find('|', start);
        const std::string_view piece = answer.substr(
            start, bar == std::string_view::npos ? std::string_view::npos : bar - start);
        std::string field(piece);
        field.erase(std::remove_if(field.begin(), field.end(),
                                   [](char c) { return c == '\r' || c == '\n'; }),
                    field.end());
        if (bar == std::string_view::npos) {
            if (!field.empty())
                fields.push_back(std::move(field));
            return fields;
        }
        fields.push_back(std::move(field));
        start = bar + 1;
    }
}

} // namespace core
