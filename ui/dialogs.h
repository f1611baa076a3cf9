#pragma once
// The message boxes of the window. Tests install their own Dialogs to answer them without a
// person; a user always sees the standard boxes.

#include <QString>

class QWidget;

namespace ui {

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // The information box: modal, information icon, one button with the given caption.
    virtual void information(QWidget* parent, const QString& text, const QString& title,
                             const QString& button);
    // A simple message box with the program's title and an OK button.
    virtual void message(QWidget* parent, const QString& text);
    // The standard error box for a failure no handler caught.
    virtual void error(QWidget* parent, const QString& text);
    // The open-file dialog starting in `folder`; empty when the user gives up.
    virtual QString openFileName(QWidget* parent, const QString& title, const QString& folder,
                                 const QString& filter);
    // The save-file dialog proposing `proposed` (folder and name); empty when the user gives up.
    virtual QString saveFileName(QWidget* parent, const QString& title, const QString& proposed,
                                 const QString& filter);
};

Dialogs& dialogs();
// Replaces the dialogs in use (nullptr restores the standard ones).
void setDialogs(Dialogs* replacement);

// A message's "\n\r" line break as this platform shows it.
QString messageText(std::string_view utf8);

} // namespace ui
