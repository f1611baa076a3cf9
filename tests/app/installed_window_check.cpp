// The installed window on the module emulator, run by scripts/windows-cross.sh after the installer
// has installed it silently into a fresh wine prefix: the window built on the installation's own
// folders (as tarvikplus.exe there builds it) answers ConsultarSAT with 08000 through its page,
// and writes only in the user's folders.
//
//   installed_window_check.exe <installation folder> [QtTest options]
#include "tests/support/page_driver.h"
#include "tests/support/test_program.h"

#include "core/path_text.h"
#include "settings/program_folders.h"

#include <QApplication>
#include <QTest>

#include <filesystem>
#include <vector>

namespace {

std::filesystem::path installation;

} // namespace

class InstalledWindowCheck : public QObject {
    Q_OBJECT

private slots:
    void consultarSatAnswersThroughThePageOnTheEmulator() {
        const auto folders = settings::programFolders(installation / "tarvikplus.exe");
        QVERIFY(folders.installed);
        QVERIFY(folders.emulatorState);
        settings::pointEmulatorAtUserState(folders);
        testing_support::writeFile(QString::fromStdWString(folders.iniFile.wstring()),
                                   "[DEFAULT]\r\nACESSO=DLL\r\n");
        testing_support::RecordedDialogs dialogs;
        ui::setDialogs(&dialogs);
        {
            app::MainWindow window(folders);
            testing_support::PageDriver page(window);
            page.enter("BtnConsultarSAT");
            page.click("BtnMostra_0");
            page.click("BtnExecuta_0");
            const QString answer = page.lines("MemoResposta_0").join('\n');
            QVERIFY2(answer.contains("|08000|"), qPrintable(answer));
        }
        ui::setDialogs(nullptr);
        QVERIFY2(dialogs.shown.isEmpty(), qPrintable(dialogs.shown.join('\n')));
        // The emulator kept its state in the user's folder, not in Program Files.
        QVERIFY(std::filesystem::exists(*folders.emulatorState));
        QVERIFY(!std::filesystem::exists(installation / "mfe_emulador"));
    }
};

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    installation = core::pathFromUtf8(argv[1]);
    QApplication application(argc, argv);
    std::vector<char*> rest{argv[0]};
    rest.insert(rest.end(), argv + 2, argv + argc);
    InstalledWindowCheck check;
    return QTest::qExec(&check, int(rest.size()), rest.data());
}

#include "installed_window_check.moc"
