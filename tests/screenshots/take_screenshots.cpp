// take_screenshots OUTPUT_FOLDER: the pictures of the README, taken from the window run on the
// module emulator of this build (scripts/screenshots.sh runs it under Xvfb). The access mode,
// the emulator's state and everything the window writes go to a temporary folder.

#include "app/main_window.h"
#include "app/qt_translations.h"
#include "core/path_text.h"
#include "settings/ini_file.h"
#include "settings/program_info.h"
#include "tests/emulator/emulator_library.h"
#include "tests/emulator/sale_documents.h"
#include "tests/portable.h"
#include "ui/dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
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

// The sale's message boxes would wait for a person: their texts go to standard error.
struct PrintedDialogs : ui::Dialogs {
    void information(QWidget*, const QString& text, const QString&, const QString&) override {
        std::cerr << text.toStdString() << "\n";
    }
    void message(QWidget*, const QString& text) override {
        std::cerr << text.toStdString() << "\n";
    }
    void error(QWidget*, const QString& text) override { std::cerr << text.toStdString() << "\n"; }
};

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // Qt's own buttons in Portuguese, as the program shows them.
    app::installQtTranslations(application,
                               app::qtTranslationFolders(QApplication::applicationDirPath()));
    if (argc != 2) {
        std::cerr << "usage: take_screenshots OUTPUT_FOLDER\n";
        return 2;
    }
    const QString output = argv[1];
    QTemporaryDir scratch;
    const std::filesystem::path scratchPath = core::pathFromUtf8(scratch.path().toStdString());
    portable::setVariable("MFE_EMULADOR_ESTADO", core::utf8FromPath(scratchPath / "estado.json"));

    // An activated module with the test signature, so that the status query has something to
    // report and a sale is issued.
    const std::string& code = emulator_test::activationCode;
    emulator_test::activateAndAssociate(emulator_test::EmulatorLibrary());

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

        // A sale, then its receipt printed again from the journal: the row, then the preview
        // at the size it opens.
        const QString sale = QString::fromStdString(core::utf8FromPath(scratchPath / "venda.xml"));
        QFile file(sale);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(QByteArray::fromStdString(emulator_test::saleDocument(3))) < 0)
            throw std::runtime_error("cannot write " + sale.toStdString());
        file.close();
        PrintedDialogs printed;
        ui::setDialogs(&printed);
        click(window, "BtnEnviarDadosVenda");
        window.findChild<QLineEdit*>("EdtCodAtiv_8")->setText(QString::fromStdString(code));
        window.findChild<QLineEdit*>("EdtCFe")->setText(sale);
        click(window, "BtnMostra_8");
        click(window, "BtnExecuta_8");
        click(window, "BtnHistorico");
        calls->selectRow(0);
        save(window, output + "/historico-extrato.png");
        click(window, "BtnExtrato");
        auto* preview = window.findChild<QDialog*>("FormExtrato");
        if (!preview)
            throw std::runtime_error("no receipt preview");
        save(*preview, output + "/extrato-preview.png");
        ui::setDialogs(nullptr);
    } catch (const std::exception& e) {
        std::cerr << "take_screenshots: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
