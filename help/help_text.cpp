#include "help/help_text.h"

#include "help/rtf_reader.h"

#include <QFile>
#include <QTextCursor>
#include <QTextEdit>

#include <optional>
#include <vector>

namespace help {

namespace {

// The paragraphs of an RTF help file, or nothing when it cannot be read.
std::optional<std::vector<RtfParagraph>> readHelpFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray rtf = file.readAll();
    return parseRtf(std::string_view(rtf.constData(), std::size_t(rtf.size())));
}

void insertParagraphs(QTextCursor& cursor, const std::vector<RtfParagraph>& paragraphs,
                      bool first) {
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
}

} // namespace

bool loadHelpFile(const QString& path, QTextEdit* box) {
    const auto paragraphs = readHelpFile(path);
    if (!paragraphs)
        return false;
    box->clear();
    QTextCursor cursor(box->document());
    insertParagraphs(cursor, *paragraphs, true);
    box->moveCursor(QTextCursor::Start);
    return true;
}

bool appendHelpFile(const QString& path, QTextEdit* box) {
    const auto paragraphs = readHelpFile(path);
    if (!paragraphs)
        return false;
    QTextCursor cursor(box->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertBlock();
    insertParagraphs(cursor, *paragraphs, false);
    box->moveCursor(QTextCursor::Start);
    return true;
}

} // namespace help
