#pragma once
// The family the window's texts are set in.

#include <QString>

namespace ui {

// Tahoma where it is installed (Windows), else the system's own sans-serif family, so every
// part of the window falls back the same way.
QString interfaceFamily();

} // namespace ui
