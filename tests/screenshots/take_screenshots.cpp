// take_screenshots OUTPUT_FOLDER: the pictures of the README, taken from the window run on the
// module emulator of this build (scripts/screenshots.sh runs it under Xvfb). The access mode,
// the emulator's state and everything the window writes go to a temporary folder.

#include "app/main_window.h"
#include "core/path_text.h"
#include "settings/ini_file.h"
#include "settings/program_info.h"
#include "tests/emulator/emulator_library.h"
#include "tests/portable.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>

#include <cstdlib>
#include <iostream>

namespace {

void click(QWidget& window, const char* name) {
    auto* button = window.findChild<QPushButton*>(name);
    if (!button)
        throw std::runtime_error(std::string("no button ") + name);
    button->click();
    QApplication::processEvents();
}

void save(QWidget& window, const QString& file) {
    QApplication::processEvents();
    if (!window.grab().save(file))
        throw std::runtime_error("cannot write " + file.toStdString());
    std::cout << file.toStdString() << "\n";
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: take_screenshots OUTPUT_FOLDER\n";
        return 2;
    }
    const QString output = argv[1];
    QTemporaryDir scratch;
    const std::filesystem::path scratchPath = core::pathFromUtf8(scratch.path().toStdString());
    portable::setVariable("MFE_EMULADOR_ESTADO", core::utf8FromPath(scratchPath / "estado.json"));

    // An activated module, so that the status query has something to report.
    const std::string code = "12345678";
    emulator_test::EmulatorLibrary().call("AtivarSAT", 1, 1, code.c_str(), "11222333000181", 35);

    // The program's own files from the build; what it writes in the scratch folder, with the
    // library as the access mode.
    auto folders = settings::programFolders(std::filesystem::path(MFE_LIBRARY).parent_path() /
                                            settings::windowProgramName);
    folders.data = scratchPath;
    folders.iniFile = scratchPath / "tarvikplus.ini";
    settings::writeProfileString(core::utf8FromPath(folders.iniFile), "DEFAULT", "ACESSO", "DLL");

    try {
        app::MainWindow window(folders);
        window.show();
        save(window, output + "/welcome.png");

        click(window, "BtnConsultarSAT");
        click(window, "BtnMostra_0");
        click(window, "BtnExecuta_0");
        save(window, output + "/consultar-sat.png");

        click(window, "BtnConsultarStatus");
        window.findChild<QLineEdit*>("EdtCodAtiv_5")->setText(QString::fromStdString(code));
        click(window, "BtnMostra_5");
        click(window, "BtnExecuta_5");
        save(window, output + "/status-report.png");

        click(window, "BtnConfInterfaceMFE");
        window.findChild<QComboBox*>("CboMFERede1")->setCurrentIndex(1);
        const char* addresses[][2] = {{"EdtMFEIP1", "192.168.001.010"},
                                      {"EdtMFEMask1", "255.255.255.000"},
                                      {"EdtMFEGW1", "192.168.001.001"},
                                      {"EdtMFEDNS11", "008.008.008.008"}};
        for (const auto& [name, value] : addresses)
            window.findChild<QLineEdit*>(name)->setText(value);
        click(window, "BitVIVO");
        window.findChild<QLineEdit*>("LblEdtMFECodRede")->setText(QString::fromStdString(code));
        click(window, "BtnMostra_16");
        window.findChild<QTabWidget*>("PCConfInterfaceMFE")->setCurrentIndex(0); // "Comando"
        save(window, output + "/configurar-interface-mfe.png");

        // The journal of the calls above, the status query's details shown.
        click(window, "BtnHistorico");
        auto* calls = window.findChild<QTableWidget*>("GridChamadas");
        calls->selectRow(0);
        save(window, output + "/historico.png");
    } catch (const std::exception& e) {
        std::cerr << "take_screenshots: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
