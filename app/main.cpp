#include "app/main_window.h"
#include "core/path_text.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    application.setApplicationName("TarvikPlus");
    const auto folders = settings::programFolders(
        core::pathFromUtf8(QApplication::applicationFilePath().toStdString()));
    settings::pointEmulatorAtUserState(folders);
    app::MainWindow window(folders);
    window.show();
    return application.exec();
}
