#pragma once
// Qt's own texts (the buttons and labels of its dialogs: "Close", "Save", "Look in") in
// Brazilian Portuguese, like the rest of the window.

#include <QStringList>

class QCoreApplication;

namespace app {

// Where the translation is looked for, in order: Qt's translations folder, then the program's
// own translations folder (a copied Windows folder, where Qt has none).
QStringList qtTranslationFolders(const QString& programFolder);

// Installs Qt's Brazilian Portuguese translation into `application` from the first of `folders`
// that has it. False when none has it: the program then goes on with Qt's English texts.
bool installQtTranslations(QCoreApplication& application, const QStringList& folders);

} // namespace app
