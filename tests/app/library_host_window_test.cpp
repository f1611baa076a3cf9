// The window through the library host, its default: a library that crashes costs only the call,
// whose answer box says so, and "Cancelar" stops a hung call, whose answer box says no answer
// came from the module; the next call starts the library afresh.

#include "core/workflow.h"
#include "tests/portable.h"
#include "tests/support/page_driver.h"
#include "tests/support/test_program.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>

class LibraryHostWindowTest : public QObject {
    Q_OBJECT

    testing_support::TestProgram program;

    // A window whose library host starts with the fake misbehaving as `how` says.
    std::unique_ptr<app::MainWindow> startMisbehaving(const char* how) {
        portable::setVariable("FAKE_MFE_MISBEHAVE", how);
        auto window = program.start();
        portable::unsetVariable("FAKE_MFE_MISBEHAVE");
        return window;
    }

private slots:
    void initTestCase() {
        program.installFakeLibrary();
        program.installLibraryHost();
        program.writeIni("[DEFAULT]\r\nACESSO=DLL\r\nPROCESSO_DLL=SEPARADO\r\n");
        portable::setVariable("FAKE_MFE_ANSWER", "000000|08000|SAT em operação||");
    }
    void cleanupTestCase() { portable::unsetVariable("FAKE_MFE_ANSWER"); }

    void aCrashShowsInTheAnswerBoxAndTheNextCallIsAnswered() {
        auto window = startMisbehaving("crash");
        QVERIFY(program.dialogs.shown.isEmpty());
        // The status bar says the library runs in a process of its own.
        QCOMPARE(window->findChild<QLabel*>("LblBiblioteca")->text(),
                 QString("Biblioteca: " TARVIK_LIBRARY_NAME " (em processo à parte)"));
        testing_support::PageDriver page(*window);
        page.enter("BtnConsultarSAT");
        page.click("BtnMostra_0");
        page.click("BtnExecuta_0");
        const QStringList crashed = page.lines("MemoResposta_0");
        QVERIFY2(crashed.join('\n').startsWith("a biblioteca encerrou durante a chamada ("),
                 qPrintable(crashed.join('\n')));
        QVERIFY(program.dialogs.shown.isEmpty());

        page.click("BtnMostra_0");
        page.click("BtnExecuta_0");
        QCOMPARE(page.lines("MemoResposta_0"), QStringList{"000000|08000|SAT em operação||"});
    }

    void cancelStopsAHungCall() {
        auto window = startMisbehaving("hang");
        testing_support::PageDriver page(*window);
        page.enter("BtnConsultarSAT");
        page.click("BtnMostra_0");
        const bool shown = page.clickWhileWaiting("BtnExecuta_0", [](QDialog& dialog) {
            auto* cancel = dialog.findChild<QPushButton*>("BtnCancelar");
            QVERIFY(cancel);
            cancel->click();
        });
        QVERIFY(shown);
        const QString session = page.lines("MemoComando_0").join("").mid(13, 6);
        // The busy answer stands for the cut wait; the line under it says the module sent none.
        const QString cancelled = QString::fromUtf8(core::cancelledCallLine.data(),
                                                    qsizetype(core::cancelledCallLine.size()));
        QCOMPARE(
            page.lines("MemoResposta_0"),
            (QStringList{session + "|08098|SAT em processamento. Tente novamente.||", cancelled}));

        page.click("BtnMostra_0");
        page.click("BtnExecuta_0");
        QCOMPARE(page.lines("MemoResposta_0"), QStringList{"000000|08000|SAT em operação||"});
    }
};

QTEST_MAIN(LibraryHostWindowTest)
#include "library_host_window_test.moc"
