#pragma once
// The values one call sends, in the order of the operation's library parameters.

#include <cstdint>
#include <string>
#include <vector>

namespace core {

struct Argument {
    enum class Kind {
        Int,      // a 32-bit integer
        Text,     // text typed in the window (UTF-8); the library gets it in its 8-bit code page
        Document, // bytes read from a file; sent unchanged in both access modes
    };
    Kind kind = Kind::Text;
    std::int32_t number = 0;
    std::string text;
    std::string shown; // how the Integrador request preview shows the value (UTF-8)

    static Argument integer(std::int32_t value, std::string shown);
    static Argument typed(std::string utf8, std::string shown);
    static Argument document(std::string bytes, std::string shown);
};

using Arguments = std::vector<Argument>;

} // namespace core
