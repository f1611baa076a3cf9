#pragma once
// What the two network page tests share: a window in library mode on the fake library, opened
// on the page, and its widgets found by name.

#include "tests/support/test_program.h"

#include <QLineEdit>
#include <QObject>
#include <QPushButton>
#include <QStringList>

class NetworkPageTest : public QObject {
protected:
    testing_support::TestProgram program;
    testing_support::FakeLibrary fake;
    std::unique_ptr<app::MainWindow> window;

    void openPage(const char* button) {
        program.installFakeLibrary();
        program.writeIni("[DEFAULT]\r\nACESSO=DLL\r\n");
        window = program.start();
        child<QPushButton>(button)->click();
    }

    template <typename T> T* child(const QString& name) {
        T* widget = window->findChild<T*>(name);
        if (!widget)
            qFatal("no widget %s", qPrintable(name));
        return widget;
    }

    // Whether each of the edits is enabled, as one text ("1" enabled, "0" disabled).
    QString states(const QStringList& names) {
        QString text;
        for (const QString& name : names)
            text += child<QLineEdit>(name)->isEnabled() ? '1' : '0';
        return text;
    }
};
