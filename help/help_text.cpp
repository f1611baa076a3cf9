#include "help/help_text.h"

#include "help/rtf_reader.h"

#include <QFile>
#include <QTextCursor>
#include <QTextEdit>

namespace help {

bool loadHelpFile(const QString& path, QTextEdit* box) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray rtf = file.readAll();
    const auto paragraphs = parseRtf(std::string_view(rtf.constData(), std::size_t(rtf.size())));

    box->clear();
    QTextCursor cursor(box->document());
    bool first = true;
    for (const auto& paragraph : paragraphs) {
        if (!first)
            cursor.insertBlock();
        first = false;
        for (const auto& run : paragraph.runs) {
            QTextCharFormat format;
            format.setFontWeight(run.bold ? QFont::Bold : QFont::Normal);
            format.setFontItalic(run.italic);
            format.setFontUnderline(run.underline);
            format.setFontPointSize(run.halfPoints / 2.0);
            if (run.color)
                format.setForeground(QColor::fromRgb(*run.color));
            cursor.insertText(QString::fromStdString(run.text), format);
        }
    }
    box->moveCursor(QTextCursor::Start);
    return true;
}

} // namespace help
