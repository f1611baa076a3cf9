#pragma once
// The names and fixed texts of each operation page's controls.

#include <array>
#include <string_view>

namespace core {

struct PageNames {
    int page;
    std::string_view tab;                   // the page's sheet in PageControl
    std::string_view subControl;            // its page control with the four sub tabs
    std::array<std::string_view, 4> sheets; // "Comando", "Resposta", "Descrição", "XML Integrador"
    std::string_view description;           // the description box
    std::array<std::string_view, 2> header; // the declaration, on one or two lines
};

// Names for an operation page (0 to 16 except 14), or nullptr.
const PageNames* pageNames(int page);

inline constexpr std::array<std::string_view, 4> subTabCaptions = {"Comando", "Resposta",
                                                                   "Descrição", "XML Integrador"};

} // namespace core
