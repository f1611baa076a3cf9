#pragma once
// What window tests share: a program folder of their own, the boxes the window shows recorded
// instead of shown, and the controls of the fake driver library.

#include "access/dynamic_library.h"
#include "app/main_window.h"
#include "ui/dialogs.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace testing_support {

struct RecordedDialogs : ui::Dialogs {
    QStringList shown; // "information:", "message:" or "error:" followed by the text
    void information(QWidget*, const QString& text, const QString&, const QString& button) override;
    void message(QWidget*, const QString& text) override;
    void error(QWidget*, const QString& text) override;

    // The file dialogs: each asked is recorded as "title|folder or proposed file", and answered
    // with the next of `fileAnswers` (empty, as a user giving up, when none is left).
    QStringList fileDialogs;
    QStringList fileAnswers;
    QString openFileName(QWidget*, const QString& title, const QString& folder,
                         const QString&) override;
    QString saveFileName(QWidget*, const QString& title, const QString& proposed,
                         const QString&) override;
};

// The fake driver library's test controls (the same loaded copy the window calls).
class FakeLibrary {
public:
    FakeLibrary();
    void setAnswer(const char* answer);
    void setDelayMs(int ms);
    // The last call the library received: name and arguments separated by "|".
    QString lastCall() const;
    // How many threads the library's functions have been called from.
    int callThreads() const;
    // How many calls the library has received.
    int callCount() const;

private:
    std::unique_ptr<backend::DynamicLibrary> library_;
    void (*setAnswer_)(const char*) = nullptr;
    void (*setDelayMs_)(int) = nullptr;
    const char* (*lastCall_)() = nullptr;
    int (*callThreads_)() = nullptr;
    int (*callCount_)() = nullptr;
};

// A temporary program folder with the window's INI file and, on request, the fake library.
class TestProgram {
public:
    TestProgram();
    ~TestProgram();
    QString path(const QString& name) const { return folder_.filePath(name); }
    // Writes the INI file. The window's tests look into the fake library from their own process,
    // so the window is set to call it in process unless `content` says otherwise.
    void writeIni(const QByteArray& content);
    void removeIni();
    void installFakeLibrary();
    // Puts the fake library in at `name` below the program's folder; its path in the system's
    // separators.
    QString installFakeLibraryAs(const QString& name);
    // Puts `library` in as the program's module library (libmfe.so, or mfe.dll on Windows).
    void installLibrary(const QString& library);
    // Puts the library host beside the program, as the build and the installation do.
    void installLibraryHost();
    void removeLibrary();
    // A new window on this folder; the boxes it shows are recorded in `dialogs`.
    std::unique_ptr<app::MainWindow> start();

    RecordedDialogs dialogs;

private:
    QTemporaryDir folder_;
};

QString readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& content);

} // namespace testing_support
