#include "tests/support/test_program.h"

#include "core/path_text.h"
#include "settings/ini_file.h"

#include <QDir>
#include <QFile>

#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace testing_support {

void RecordedDialogs::information(QWidget*, const QString& text, const QString&,
                                  const QString& button) {
    shown << "information:" + text + "|" + button;
}
void RecordedDialogs::message(QWidget*, const QString& text) {
    shown << "message:" + text;
}
void RecordedDialogs::error(QWidget*, const QString& text) {
    shown << "error:" + text;
}
QString RecordedDialogs::openFileName(QWidget*, const QString& title, const QString& folder,
                                      const QString&) {
    fileDialogs << title + "|" + folder;
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
}
QString RecordedDialogs::saveFileName(QWidget*, const QString& title, const QString& proposed,
                                      const QString&) {
    fileDialogs << title + "|" + proposed;
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
}

FakeLibrary::FakeLibrary() {
    std::string error;
    library_ = backend::DynamicLibrary::open(FAKE_LIBRARY, error);
    if (!library_)
        throw std::runtime_error(error);
    setAnswer_ = reinterpret_cast<void (*)(const char*)>(library_->symbol("fake_set_answer"));
    setDelayMs_ = reinterpret_cast<void (*)(int)>(library_->symbol("fake_set_delay_ms"));
    lastCall_ = reinterpret_cast<const char* (*)()>(library_->symbol("fake_last_call"));
    callThreads_ = reinterpret_cast<int (*)()>(library_->symbol("fake_call_threads"));
    callCount_ = reinterpret_cast<int (*)()>(library_->symbol("fake_call_count"));
}

void FakeLibrary::setAnswer(const char* answer) {
    setAnswer_(answer);
}

void FakeLibrary::setDelayMs(int ms) {
    setDelayMs_(ms);
}

QString FakeLibrary::lastCall() const {
    return QString::fromUtf8(lastCall_()).replace('\x1f', '|');
}

int FakeLibrary::callThreads() const {
    return callThreads_();
}

int FakeLibrary::callCount() const {
    return callCount_();
}

TestProgram::TestProgram() {
    ui::setDialogs(&dialogs);
}

TestProgram::~TestProgram() {
    ui::setDialogs(nullptr);
}

void TestProgram::writeIni(const QByteArray& content) {
    writeFile(path("tarvikplus.ini"), content);
    if (!content.contains("PROCESSO_DLL"))
        settings::writeProfileString(path("tarvikplus.ini").toStdString(), "DEFAULT",
                                     "PROCESSO_DLL", "MESMO");
}

void TestProgram::removeIni() {
    QFile::remove(path("tarvikplus.ini"));
}

#ifdef _WIN32
// The bytes of a file, empty when it cannot be read.
static QByteArray bytesOf(const QString& file) {
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}
#endif

// A link to `target` at `link`: the window must load the very copy of the fake library whose
// controls FakeLibrary holds, and a link gives that copy on both systems (on Windows a hard
// link: a shortcut is no file to the loader).
static void linkFile(const QString& target, const QString& link) {
#ifdef _WIN32
    // Windows cannot remove a DLL that is loaded, as a library installed by an earlier test of
    // the same program stays: when it already holds the target's bytes, it stays as it is.
    if (!QFile::remove(link) && QFile::exists(link) && bytesOf(link) == bytesOf(target))
        return;
#endif
    QFile::remove(link);
#ifdef _WIN32
    std::error_code error;
    std::filesystem::create_hard_link(std::filesystem::path(target.toStdWString()).make_preferred(),
                                      link.toStdWString(), error);
    if (error)
        throw std::runtime_error("cannot link " + target.toStdString() + ": " + error.message());
#else
    if (!QFile::link(target, link))
        throw std::runtime_error("cannot link " + target.toStdString());
#endif
}

void TestProgram::installFakeLibrary() {
    installLibrary(FAKE_LIBRARY);
}

QString TestProgram::installFakeLibraryAs(const QString& name) {
    QDir().mkpath(QFileInfo(path(name)).absolutePath());
    linkFile(FAKE_LIBRARY, path(name));
    return QDir::toNativeSeparators(path(name));
}

void TestProgram::installLibrary(const QString& library) {
    linkFile(library, path(TARVIK_LIBRARY_NAME));
}

void TestProgram::installLibraryHost() {
    linkFile(TARVIK_LIBRARY_HOST, path(QFileInfo(TARVIK_LIBRARY_HOST).fileName()));
}

void TestProgram::removeLibrary() {
    QFile::remove(path(TARVIK_LIBRARY_NAME));
}

std::unique_ptr<app::MainWindow> TestProgram::start() {
    dialogs.shown.clear();
    // In the system's own separators, as the window's executable path is.
    return std::make_unique<app::MainWindow>(settings::programFolders(
        core::pathFromUtf8(QDir::toNativeSeparators(path("tarvikplus")).toStdString())));
}

QString readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write " + path.toStdString());
    file.write(content);
}

} // namespace testing_support
