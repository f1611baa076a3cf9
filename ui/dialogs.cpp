#include "ui/dialogs.h"

#include "core/text.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace ui {
namespace {

Dialogs standard;
Dialogs* current = &standard;

QString applicationTitle(QWidget* parent) {
    QWidget* window = parent ? parent->window() : QApplication::activeWindow();
    return window ? window->windowTitle() : QApplication::applicationName();
}

} // namespace

void Dialogs::information(QWidget* parent, const QString& text, const QString& title,
                          const QString& button) {
    QMessageBox box(QMessageBox::Information, title, text, QMessageBox::NoButton, parent);
    box.addButton(button, QMessageBox::AcceptRole);
    box.exec();
}

void Dialogs::message(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(parent), text, QMessageBox::Ok, parent);
    box.exec();
}

void Dialogs::error(QWidget* parent, const QString& text) {
    QMessageBox::critical(parent, applicationTitle(parent), text);
}

QString Dialogs::openFileName(QWidget* parent, const QString& title, const QString& folder,
                              const QString& filter) {
    return QFileDialog::getOpenFileName(parent, title, folder, filter);
}

QString Dialogs::saveFileName(QWidget* parent, const QString& title, const QString& proposed,
                              const QString& filter) {
    return QFileDialog::getSaveFileName(parent, title, proposed, filter);
}

Dialogs& dialogs() {
    return *current;
}

void setDialogs(Dialogs* replacement) {
    current = replacement ? replacement : &standard;
}

QString messageText(std::string_view utf8) {
    return QString::fromStdString(core::displayLineBreaks(utf8));
}

} // namespace ui
