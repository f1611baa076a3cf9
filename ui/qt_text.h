#pragma once
// UTF-8 text of the logic as the QString the widgets show.

#include <QString>

#include <string_view>

namespace ui {

inline QString qs(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

} // namespace ui
