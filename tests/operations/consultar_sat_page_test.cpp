#include "tests/support/page_driver.h"
#include "tests/support/test_program.h"

#include "core/time_of_day.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>

// The page workflow on page 0, in library mode with the fake driver library; a fresh window for
// every case.
class ConsultarSatPageTest : public QObject {
    Q_OBJECT

    testing_support::TestProgram program;
    testing_support::FakeLibrary fake;
    std::unique_ptr<app::MainWindow> window;
    std::unique_ptr<testing_support::PageDriver> page;

private slots:
    void initTestCase() {
        program.installFakeLibrary();
        program.writeIni("[DEFAULT]\r\nACESSO=DLL\r\n");
    }

    void init() {
        fake.setAnswer("000000|08000|SAT em operação||");
        fake.setDelayMs(0);
        window = program.start();
        QVERIFY(program.dialogs.shown.isEmpty());
        page = std::make_unique<testing_support::PageDriver>(*window);
        page->enter("BtnConsultarSAT");
    }

    void cleanup() {
        page.reset();
        window.reset();
    }

    void pageEntryOpensAFreshPage() {
        QCOMPARE(page->currentPage(), 0);
        QVERIFY(!page->widget<QPushButton>("BtnExecuta_0")->isEnabled());
        QVERIFY(!window->findChild<QPushButton*>("BtnAnalisa_0"));
        QCOMPARE(page->lines("MemoComando_0"), QStringList{""});
    }

    void executeSendsTheSessionNumberItShows() {
        page->click("BtnMostra_0");
        const QString shown = page->lines("MemoComando_0").join('\n');
        QVERIFY2(QRegularExpression("^ConsultarSAT\\(\\d{6}\\)$").match(shown).hasMatch(),
                 qPrintable(shown));
        QVERIFY(page->widget<QPushButton>("BtnExecuta_0")->isEnabled());

        // The session number is drawn from the time of day: let the clock move on.
        const auto before = core::localTimeOfDay();
        QTRY_VERIFY(core::localTimeOfDay().millisecond != before.millisecond);
        page->click("BtnExecuta_0");
        const QString called = page->lines("MemoComando_0").join('\n');
        QVERIFY(called != shown);
        const QString session = called.mid(13, 6);
        QCOMPARE(fake.lastCall(), "ConsultarSAT|" + QString::number(session.toInt()));
        QCOMPARE(window->state().sessionNumber, session.toStdString());

        QCOMPARE(page->widget<QTabWidget>("PCConsultarSAT")->currentIndex(), 1);
        QCOMPARE(page->lines("MemoResposta_0"), QStringList{"000000|08000|SAT em operação||"});
    }

    void answerIsShownAsUtf8() {
        fake.setAnswer("1|08000|Sess\xC3\xA3o|Sess\xE3o");
        page->click("BtnMostra_0");
        page->click("BtnExecuta_0");
        QCOMPARE(page->lines("MemoResposta_0"), QStringList{"1|08000|Sessão|Sess\uFFFDo"});
    }

    void slowCallShowsTheWaitDialogAndKeepsTheWindowPainted() {
        fake.setAnswer("1|08000|lento||");
        fake.setDelayMs(900);
        page->click("BtnMostra_0");
        QString seen;
        const bool shown = page->clickWhileWaiting("BtnExecuta_0", [&](QDialog& dialog) {
            seen = dialog.findChild<QLabel*>("LblTempo")->text() + "|" +
                   QString::number(dialog.findChildren<QPushButton*>().size());
        });
        QVERIFY(shown);
        // A library call has no wait limit and cannot be cancelled.
        QVERIFY2(seen.startsWith("Tempo decorrido: 00:00") && seen.endsWith("|0"),
                 qPrintable(seen));
        QVERIFY(!seen.contains(" de "));
        QCOMPARE(page->lines("MemoResposta_0"), QStringList{"1|08000|lento||"});
    }

    void waitDialogStaysUntilTheCallIsOver() {
        fake.setAnswer("1|08000|fim||");
        fake.setDelayMs(1200);
        page->click("BtnMostra_0");
        bool stayed = false;
        page->clickWhileWaiting("BtnExecuta_0", [&](QDialog& dialog) {
            QTest::keyClick(&dialog, Qt::Key_Escape);
            dialog.close();
            stayed = dialog.isVisible();
        });
        QVERIFY(stayed);
        QCOMPARE(page->lines("MemoResposta_0"), QStringList{"1|08000|fim||"});
    }

    void everyCallOfAWindowReachesTheLibraryFromOneThread() {
        const int before = fake.callThreads(); // earlier windows had threads of their own
        page->click("BtnMostra_0");
        page->click("BtnExecuta_0");
        page->click("BtnExecuta_0");
        QCOMPARE(fake.callThreads(), before + 1);
    }

    void reEntryClearsTheBoxesAndDisablesExecute() {
        page->click("BtnMostra_0");
        page->click("BtnExecuta_0");
        page->enter("BtnConsultarSAT");
        QCOMPARE(page->lines("MemoComando_0"), QStringList{""});
        QCOMPARE(page->lines("MemoResposta_0"), QStringList{""});
        QVERIFY(!page->widget<QPushButton>("BtnExecuta_0")->isEnabled());
    }
};

QTEST_MAIN(ConsultarSatPageTest)
#include "consultar_sat_page_test.moc"
