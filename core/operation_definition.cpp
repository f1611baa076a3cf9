#include "core/operation_definition.h"

namespace core {

void Inputs::set(std::string_view key, std::string text) {
    values_.insert_or_assign(std::string(key), std::move(text));
}

const std::string& Inputs::text(std::string_view key) const {
    static const std::string empty;
    const auto it = values_.find(key);
    return it == values_.end() ? empty : it->second;
}

bool Inputs::given(std::string_view key) const {
    return values_.find(key) != values_.end();
}

void Inputs::choose(std::string_view key, int item) {
    items_.insert_or_assign(std::string(key), item);
}

std::optional<int> Inputs::chosen(std::string_view key) const {
    const auto it = items_.find(key);
    return it == items_.end() ? std::nullopt : std::optional<int>(it->second);
}

} // namespace core
