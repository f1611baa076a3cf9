#include "core/arguments.h"

namespace core {

Argument Argument::integer(std::int32_t value, std::string shown) {
    return {Kind::Int, value, {}, std::move(shown)};
}

Argument Argument::typed(std::string utf8, std::string shown) {
    return {Kind::Text, 0, std::move(utf8), std::move(shown)};
}

Argument Argument::document(std::string bytes, std::string shown) {
    return {Kind::Document, 0, std::move(bytes), std::move(shown)};
}

} // namespace core
