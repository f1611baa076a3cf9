#pragma once

#include <QString>

class QTextEdit;

namespace help {

// Loads an RTF help file into a text box; false when the file cannot be read.
bool loadHelpFile(const QString& path, QTextEdit* box);

// Adds an RTF help file after what the box holds, a blank line between; false when the file
// cannot be read (the box is then left as it was).
bool appendHelpFile(const QString& path, QTextEdit* box);

} // namespace help
