#include "app/main_window.h"
#include "app/qt_translations.h"
#include "core/path_text.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    application.setApplicationName("TarvikPlus");
    // Without the file Qt's dialogs stay in English; nothing else changes.
    app::installQtTranslations(application,
                               app::qtTranslationFolders(QApplication::applicationDirPath()));
    // In the system's own separators, so the paths the window shows are written one way.
    const auto folders = settings::programFolders(core::pathFromUtf8(
        QDir::toNativeSeparators(QApplication::applicationFilePath()).toStdString()));
    settings::pointEmulatorAtUserState(folders);
    app::MainWindow window(folders);
    window.show();
    return application.exec();
}
