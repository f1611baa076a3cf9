#include "app/main_window.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    application.setApplicationName("TarvikPlus");
    const auto folders =
        settings::programFolders(QApplication::applicationFilePath().toStdString());
    settings::pointEmulatorAtUserState(folders);
    app::MainWindow window(folders);
    window.show();
    return application.exec();
}
