#pragma once
// Drives the window as a user does: enters a page, types into a named field, clicks a named
// button, reads a box's lines, acts on the wait dialog while a call runs. A widget that is not
// there ends the test with its name.

#include "app/main_window.h"

#include <QString>
#include <QStringList>

#include <functional>

class QDialog;

namespace testing_support {

class PageDriver {
public:
    explicit PageDriver(app::MainWindow& window) : window_(window) {}

    template <typename T> T* widget(const QString& name) const {
        auto* found = window_.findChild<T*>(name);
        if (!found)
            missing(name, T::staticMetaObject.className());
        return found;
    }

    // The operation button of the left panel: a fresh page.
    void enter(const QString& operationButton) const;
    // Replaces the text of an edit (line, plain-text or editable combo box) as typed keys would.
    void type(const QString& field, const QString& text) const;
    void click(const QString& button) const;
    // The lines of a command, answer or template box.
    QStringList lines(const QString& box) const;
    // The index of the page shown in PageControl.
    int currentPage() const;

    // Clicks `button` and runs `action` on the wait dialog as soon as it shows during the call
    // the click makes; returns when the call is over, telling whether the dialog showed.
    bool clickWhileWaiting(const QString& button, const std::function<void(QDialog&)>& action);

private:
    [[noreturn]] static void missing(const QString& name, const char* type);

    app::MainWindow& window_;
};

} // namespace testing_support
