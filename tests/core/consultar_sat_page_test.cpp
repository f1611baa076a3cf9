#include "access/dynamic_library.h"
#include "app/dialogs.h"
#include "app/main_window.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct RecordedDialogs : app::Dialogs {
    QStringList shown;
    void information(QWidget*, const QString& text, const QString&, const QString&) override {
        shown << text;
    }
    void message(QWidget*, const QString& text) override { shown << text; }
    void error(QWidget*, const QString& text) override { shown << text; }
};

} // namespace

// The page workflow on page 0, in library mode with the fake driver library.
class ConsultarSatPageTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    RecordedDialogs recorded;
    std::unique_ptr<backend::DynamicLibrary> fake;
    void (*setAnswer)(const char*) = nullptr;
    const char* (*lastCall)() = nullptr;
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
        app::setDialogs(&recorded);
        QVERIFY(QFile::link(FAKE_LIBRARY, folder.filePath("libmfe.so")));
        QFile ini(folder.filePath("tarvikplus.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[DEFAULT]\r\nACESSO=DLL\r\n");
        ini.close();
        std::string error;
        fake = backend::DynamicLibrary::open(FAKE_LIBRARY, error);
        QVERIFY2(fake, error.c_str());
        setAnswer = reinterpret_cast<void (*)(const char*)>(fake->symbol("fake_set_answer"));
        lastCall = reinterpret_cast<const char* (*)()>(fake->symbol("fake_last_call"));
        window = std::make_unique<app::MainWindow>(folder.filePath("tarvikplus"));
        QVERIFY(recorded.shown.isEmpty());
    }

    void pageEntryOpensAFreshPage() {
        child<QPushButton>("BtnConsultarSAT")->click();
        QCOMPARE(child<QWidget>("PageControl")->property("currentIndex").toInt(), 0);
        QVERIFY(!child<QPushButton>("BtnExecuta_0")->isEnabled());
        QVERIFY(!window->findChild<QPushButton*>("BtnAnalisa_0"));
        QVERIFY(child<QPlainTextEdit>("MemoComando_0")->toPlainText().isEmpty());
    }

    void executeSendsTheSessionNumberItShows() {
        setAnswer("000000|08000|SAT em operação||");
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
        QCOMPARE(QString::fromUtf8(lastCall()),
                 "ConsultarSAT\x1f" + QString::number(session.toInt()));
        QCOMPARE(window->state().sessionNumber, session.toStdString());

        QCOMPARE(child<QTabWidget>("PCConsultarSAT")->currentIndex(), 1);
        QCOMPARE(lines("MemoResposta_0"), QStringList{"000000|08000|SAT em operação||"});
    }

    void answerIsShownAsUtf8() {
        setAnswer("1|08000|Sess\xC3\xA3o|Sess\xE3o");
        child<QPushButton>("BtnExecuta_0")->click();
        QCOMPARE(lines("MemoResposta_0"), QStringList{"1|08000|Sessão|Sess\uFFFDo"});
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
