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

} // namespace core
