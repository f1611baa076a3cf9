#pragma once

#include <QString>

class QTextEdit;

namespace help {

// Loads an RTF help file into a text box; false when the file cannot be read.
bool loadHelpFile(const QString& path, QTextEdit* box);

} // namespace help
