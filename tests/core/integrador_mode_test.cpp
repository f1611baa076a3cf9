#include "core/workflow.h"
#include "tests/support/page_driver.h"
#include "tests/support/test_program.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

// Page 0 in Integrador mode, against the Integrador stand-in running on the fake library.
class IntegradorModeTest : public QObject {
    Q_OBJECT

    testing_support::TestProgram program;
    std::unique_ptr<app::MainWindow> window;
    std::unique_ptr<testing_support::PageDriver> page;
    QProcess standin;

    void startStandin(const QStringList& extra) {
        standin.kill();
        standin.waitForFinished();
        standin.start(STANDIN, QStringList{"--dir", program.path("Integrador"), "--library",
                                           FAKE_LIBRARY, "--timeout", "60"} +
                                   extra);
        QVERIFY(standin.waitForStarted());
        // Its first line says its folders and watch are in place.
        QVERIFY(standin.waitForReadyRead(10000));
    }

private slots:
    void initTestCase() {
        qputenv("TARVIK_INTEGRADOR_DIR", program.path("Integrador").toUtf8());
        program.writeIni("[DEFAULT]\r\nACESSO=INTEGRADOR\r\n");
    }

    void init() {
        window = program.start();
        page = std::make_unique<testing_support::PageDriver>(*window);
    }

    void cleanup() {
        page.reset();
        window.reset();
    }

    void templateMarksPlaceholdersInRed() {
        auto* box = page->widget<QTextEdit>("REIntegrador_0");
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
        page->enter("BtnConsultarSAT");
        page->click("BtnMostra_0");
        const QStringList command = page->lines("MemoComando_0");
        QVERIFY(command[0].startsWith("ConsultarSAT("));
        QCOMPARE(command[2],
                 QString("------------  XML Integrador  ------------------------------"));
        QVERIFY(command.contains("      <Metodo Nome=\"ConsultarMFe\">") ||
                command.contains("    <Metodo Nome=\"ConsultarMFe\">"));

        page->click("BtnExecuta_0");
        const QStringList answer = page->lines("MemoResposta_0");
        QCOMPARE(answer.first(), QString("---- Resposta XML Integrador -------------------------"));
        QVERIFY(answer.contains("------------------------------------------------------"));
        // The stand-in's fake library answers with its default text.
        QCOMPARE(answer.last(), QString("000000|08000|SAT em operação||"));
        QVERIFY(answer.join('\n').contains("<Integrador>"));
        QVERIFY(program.dialogs.shown.isEmpty());
    }

    void cancelEndsTheWaitWithTheBusyAnswer() {
        startStandin({});
        page->enter("BtnConsultarSAT");
        page->click("BtnMostra_0");
        page->click("BtnExecuta_0"); // an answer document to keep
        startStandin({"--delay", "20000"});
        QElapsedTimer elapsed;
        elapsed.start();
        const bool waited = page->clickWhileWaiting("BtnExecuta_0", [](QDialog& dialog) {
            dialog.findChild<QPushButton*>("BtnCancelar")->click();
        });
        QVERIFY(waited);
        QVERIFY(elapsed.elapsed() < 5000);
        const QString session = QString::fromStdString(window->state().sessionNumber);
        // The busy answer, then the line saying the module sent none.
        const QStringList answer = page->lines("MemoResposta_0");
        QVERIFY(answer.size() >= 2);
        QCOMPARE(answer.sliced(answer.size() - 2),
                 (QStringList{session + "|08098|SAT em processamento. Tente novamente.||",
                              QString::fromUtf8(core::cancelledCallLine.data(),
                                                qsizetype(core::cancelledCallLine.size()))}));
        // The earlier answer document is still the one shown.
        QCOMPARE(page->lines("MemoResposta_0").first(),
                 QString("---- Resposta XML Integrador -------------------------"));
    }

    void cleanupTestCase() {
        standin.kill();
        standin.waitForFinished();
    }
};

QTEST_MAIN(IntegradorModeTest)
#include "integrador_mode_test.moc"
