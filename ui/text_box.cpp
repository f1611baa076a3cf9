#include "ui/text_box.h"

#include "core/text.h"
#include "ui/qt_text.h"

#include <QPlainTextEdit>

namespace ui {

void appendToBox(QPlainTextEdit* box, const core::Lines& lines) {
    if (lines.empty())
        return;
    std::size_t size = lines.size();
    for (const auto& line : lines)
        size += line.size();
    std::string text;
    text.reserve(size);
    for (const auto& line : lines) {
        if (&line != &lines.front())
            text += '\n';
        text += core::displayLineBreaks(line);
    }
    box->appendPlainText(qs(text));
}

} // namespace ui
