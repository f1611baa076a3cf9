#include "tests/support/page_driver.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

namespace testing_support {

void PageDriver::missing(const QString& name, const char* type) {
    qFatal("no %s named %s in the window", type, qPrintable(name));
}

void PageDriver::enter(const QString& operationButton) const {
    click(operationButton);
}

void PageDriver::type(const QString& field, const QString& text) const {
    QWidget* target = widget<QWidget>(field);
    if (auto* line = qobject_cast<QLineEdit*>(target)) {
        line->selectAll();
        line->del();
        line->setCursorPosition(0);
        QTest::keyClicks(line, text);
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(target)) {
        plain->clear();
        QTest::keyClicks(plain, text);
    } else if (auto* combo = qobject_cast<QComboBox*>(target); combo && combo->isEditable()) {
        combo->clearEditText();
        QTest::keyClicks(combo, text);
    } else {
        qFatal("%s cannot be typed into", qPrintable(field));
    }
}

void PageDriver::click(const QString& button) const {
    auto* target = widget<QAbstractButton>(button);
    if (!target->isEnabled())
        qFatal("%s is disabled", qPrintable(button));
    target->click();
}

QStringList PageDriver::lines(const QString& box) const {
    QWidget* target = widget<QWidget>(box);
    if (auto* plain = qobject_cast<QPlainTextEdit*>(target))
        return plain->toPlainText().split('\n');
    if (auto* rich = qobject_cast<QTextEdit*>(target))
        return rich->toPlainText().split('\n');
    qFatal("%s is not a text box", qPrintable(box));
}

int PageDriver::currentPage() const {
    return widget<QStackedWidget>("PageControl")->currentIndex();
}

bool PageDriver::clickWhileWaiting(const QString& button,
                                   const std::function<void(QDialog&)>& action) {
    bool seen = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QDialog*>(w);
            if (dialog && dialog->objectName() == "DlgAguarde" && dialog->isVisible()) {
                seen = true;
                poll.stop();
                action(*dialog);
                return;
            }
        }
    });
    poll.start(20);
    click(button);
    return seen;
}

} // namespace testing_support
