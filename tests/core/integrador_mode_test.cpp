#include "tests/support/test_program.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>

// Page 0 in Integrador mode, against the Integrador stand-in running on the fake library.
class IntegradorModeTest : public QObject {
    Q_OBJECT

    testing_support::TestProgram program;
    std::unique_ptr<app::MainWindow> window;
    QProcess standin;

    template <typename T> T* child(const char* name) { return window->findChild<T*>(name); }
    QStringList lines(const char* box) {
        return child<QPlainTextEdit>(box)->toPlainText().split('\n');
    }

    void startStandin(const QStringList& extra) {
        standin.kill();
        standin.waitForFinished();
        standin.start(STANDIN, QStringList{"--dir", program.path("Integrador"), "--library",
                                           FAKE_LIBRARY, "--timeout", "60"} +
                                   extra);
        QVERIFY(standin.waitForStarted());
        QTest::qWait(200); // its folders and watch are in place
    }

private slots:
    void initTestCase() {
        qputenv("TARVIK_INTEGRADOR_DIR", program.path("Integrador").toUtf8());
        program.writeIni("[DEFAULT]\r\nACESSO=INTEGRADOR\r\n");
        window = program.start();
    }

    void templateMarksPlaceholdersInRed() {
        auto* box = child<QTextEdit>("REIntegrador_0");
        QVERIFY(box->toPlainText().contains("<Valor>numeroIdentificador</Valor>"));
        const QTextDocument* doc = box->document();
        for (auto block = doc->begin(); block != doc->end(); block = block.next()) {
            const bool placeholder = block.text().contains("<Valor>");
            const QColor colour = block.begin().fragment().charFormat().foreground().color();
            QCOMPARE(colour, placeholder ? QColor(Qt::red) : QColor(Qt::black));
        }
    }

    void answerBlockThenRawLine() {
        startStandin({});
        child<QPushButton>("BtnConsultarSAT")->click();
        child<QPushButton>("BtnMostra_0")->click();
        const QStringList command = lines("MemoComando_0");
        QVERIFY(command[0].startsWith("ConsultarSAT("));
        QCOMPARE(command[2],
                 QString("------------  XML Integrador  ------------------------------"));
        QVERIFY(command.contains("      <Metodo Nome=\"ConsultarMFe\">") ||
                command.contains("    <Metodo Nome=\"ConsultarMFe\">"));

        child<QPushButton>("BtnExecuta_0")->click();
        const QStringList answer = lines("MemoResposta_0");
        QCOMPARE(answer.first(), QString("---- Resposta XML Integrador -------------------------"));
        QVERIFY(answer.contains("------------------------------------------------------"));
        // The stand-in's fake library answers with its default text.
        QCOMPARE(answer.last(), QString("000000|08000|SAT em operação||"));
        QVERIFY(answer.join('\n').contains("<Integrador>"));
        QVERIFY(program.dialogs.shown.isEmpty());
    }

    void cancelEndsTheWaitWithTheBusyAnswer() {
        startStandin({"--delay", "20000"});
        QTimer::singleShot(800, [] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == "DlgAguarde" && w->isVisible())
                    w->findChild<QPushButton*>("BtnCancelar")->click();
        });
        QElapsedTimer elapsed;
        elapsed.start();
        child<QPushButton>("BtnExecuta_0")->click();
        QVERIFY(elapsed.elapsed() < 5000);
        const QString session = QString::fromStdString(window->state().sessionNumber);
        QCOMPARE(lines("MemoResposta_0").last(),
                 session + "|08098|SAT em processamento. Tente novamente.||");
        // The earlier answer document is still the one shown.
        QCOMPARE(lines("MemoResposta_0").first(),
                 QString("---- Resposta XML Integrador -------------------------"));
    }

    void cleanupTestCase() {
        standin.kill();
        standin.waitForFinished();
        window.reset();
    }
};

QTEST_MAIN(IntegradorModeTest)
#include "integrador_mode_test.moc"
