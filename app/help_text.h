#pragma once

#include <QString>

class QTextEdit;

namespace app {

// Loads an RTF help file into a text box; false when the file cannot be read.
bool loadHelpFile(const QString& path, QTextEdit* box);

} // namespace app
