#include "app/main_window.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    application.setApplicationName("TarvikPlus");
    app::MainWindow window(QApplication::applicationFilePath());
    window.show();
    return application.exec();
}
