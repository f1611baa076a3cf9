#pragma once
// Lines shown in a read-only text box.

#include "core/lines.h"

class QPlainTextEdit;

namespace ui {

// Appends `lines` to `box` as paragraphs, in one insertion: a log of a megabyte appears at once,
// where a paragraph at a time would keep the window frozen.
void appendToBox(QPlainTextEdit* box, const core::Lines& lines);

} // namespace ui
