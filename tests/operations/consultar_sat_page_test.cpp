#include "tests/support/test_program.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

// The page workflow on page 0, in library mode with the fake driver library.
class ConsultarSatPageTest : public QObject {
    Q_OBJECT

    testing_support::TestProgram program;
    testing_support::FakeLibrary fake;
    std::unique_ptr<app::MainWindow> window;

    template <typename T> T* child(const char* name) {
        auto* widget = window->findChild<T*>(name);
        if (!widget)
            qFatal("no widget %s", name);
        return widget;
    }
    QStringList lines(const char* box) {
        return child<QPlainTextEdit>(box)->toPlainText().split('\n');
    }

private slots:
    void initTestCase() {
        program.installFakeLibrary();
        program.writeIni("[DEFAULT]\r\nACESSO=DLL\r\n");
        window = program.start();
        QVERIFY(program.dialogs.shown.isEmpty());
    }

    void pageEntryOpensAFreshPage() {
        child<QPushButton>("BtnConsultarSAT")->click();
        QCOMPARE(child<QWidget>("PageControl")->property("currentIndex").toInt(), 0);
        QVERIFY(!child<QPushButton>("BtnExecuta_0")->isEnabled());
        QVERIFY(!window->findChild<QPushButton*>("BtnAnalisa_0"));
        QVERIFY(child<QPlainTextEdit>("MemoComando_0")->toPlainText().isEmpty());
    }

    void executeSendsTheSessionNumberItShows() {
        fake.setAnswer("000000|08000|SAT em operação||");
        child<QPushButton>("BtnMostra_0")->click();
        const QString shown = child<QPlainTextEdit>("MemoComando_0")->toPlainText();
        QVERIFY2(QRegularExpression("^ConsultarSAT\\(\\d{6}\\)$").match(shown).hasMatch(),
                 qPrintable(shown));
        QVERIFY(child<QPushButton>("BtnExecuta_0")->isEnabled());

        QTest::qWait(3); // a new millisecond draws a new session number
        child<QPushButton>("BtnExecuta_0")->click();
        const QString called = child<QPlainTextEdit>("MemoComando_0")->toPlainText();
        QVERIFY(called != shown);
        const QString session = called.mid(13, 6);
        QCOMPARE(fake.lastCall(), "ConsultarSAT|" + QString::number(session.toInt()));
        QCOMPARE(window->state().sessionNumber, session.toStdString());

        QCOMPARE(child<QTabWidget>("PCConsultarSAT")->currentIndex(), 1);
        QCOMPARE(lines("MemoResposta_0"), QStringList{"000000|08000|SAT em operação||"});
    }

    void answerIsShownAsUtf8() {
        fake.setAnswer("1|08000|Sess\xC3\xA3o|Sess\xE3o");
        child<QPushButton>("BtnExecuta_0")->click();
        QCOMPARE(lines("MemoResposta_0"), QStringList{"1|08000|Sessão|Sess\uFFFDo"});
    }

    void slowCallShowsTheWaitDialogAndKeepsTheWindowPainted() {
        fake.setAnswer("1|08000|lento||");
        fake.setDelayMs(900);
        QString seen;
        QTimer::singleShot(600, [&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == "DlgAguarde" && w->isVisible())
                    seen = w->findChild<QLabel*>("LblTempo")->text() + "|" +
                           QString::number(w->findChildren<QPushButton*>().size());
        });
        child<QPushButton>("BtnExecuta_0")->click();
        fake.setDelayMs(0);
        // A library call has no wait limit and cannot be cancelled.
        QVERIFY2(seen.startsWith("Tempo decorrido: 00:00") && seen.endsWith("|0"),
                 qPrintable(seen));
        QVERIFY(!seen.contains(" de "));
        QCOMPARE(lines("MemoResposta_0"), QStringList{"1|08000|lento||"});
    }

    void waitDialogStaysUntilTheCallIsOver() {
        fake.setAnswer("1|08000|fim||");
        fake.setDelayMs(1200);
        bool stayed = false;
        QTimer::singleShot(600, [&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == "DlgAguarde" && w->isVisible()) {
                    QTest::keyClick(w, Qt::Key_Escape);
                    w->close();
                    stayed = w->isVisible();
                }
        });
        child<QPushButton>("BtnExecuta_0")->click();
        fake.setDelayMs(0);
        QVERIFY(stayed);
        QCOMPARE(lines("MemoResposta_0"), QStringList{"1|08000|fim||"});
    }

    void everyCallReachedTheLibraryFromOneThread() {
        child<QPushButton>("BtnExecuta_0")->click();
        QCOMPARE(fake.callThreads(), 1);
    }

    void reEntryClearsTheBoxesAndDisablesExecute() {
        child<QPushButton>("BtnConsultarSAT")->click();
        QVERIFY(child<QPlainTextEdit>("MemoComando_0")->toPlainText().isEmpty());
        QVERIFY(child<QPlainTextEdit>("MemoResposta_0")->toPlainText().isEmpty());
        QVERIFY(!child<QPushButton>("BtnExecuta_0")->isEnabled());
    }

    void cleanupTestCase() { window.reset(); }
};

QTEST_MAIN(ConsultarSatPageTest)
#include "consultar_sat_page_test.moc"
