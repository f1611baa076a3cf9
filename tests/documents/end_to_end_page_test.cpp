// Page 4 over the module emulator: the sample sale when no file is chosen, the module's message,
// the returned CF-e saved as Retornos/Resp_CFeFimAFim.xml and opened by both browser buttons.

#include "tests/documents/emulated_module.h"

#include <QDesktopServices>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QUrl>

class EndToEndPageTest : public QObject {
    Q_OBJECT

    testing_support::TestProgram program;
    std::unique_ptr<documents_test::EmulatedModule> module;
    std::unique_ptr<app::MainWindow> window;
    QStringList opened;

    template <typename T> T* child(const char* name) {
        T* widget = window->findChild<T*>(name);
        if (!widget)
            qFatal("no widget %s", name);
        return widget;
    }

public slots:
    void openUrl(const QUrl& url) { opened << url.toLocalFile(); }

private slots:
    void initTestCase() {
        module = std::make_unique<documents_test::EmulatedModule>(program);
        QDesktopServices::setUrlHandler("file", this, "openUrl");
        window = program.start();
        child<QPushButton>("BtnFimAFim")->click();
    }

    void beforeAnyTestTheBrowserButtonsOpenNothing() {
        QVERIFY(!child<QPushButton>("BtnBrowser")->isEnabled());
        QVERIFY(!child<QPushButton>("BtnNaveg_4")->isEnabled());
        child<QLineEdit>("EdtCFeTeste")->setText(TARVIK_FIXTURES_DIR "/documents/sample_sale.xml");
        QVERIFY(child<QPushButton>("BtnBrowser")->isEnabled());
        QVERIFY(child<QPushButton>("BtnValidar")->isEnabled());
        child<QPushButton>("BtnBrowser")->click();
        QVERIFY(opened.isEmpty());
    }

    void validateButtonOnARealSale() {
        if (!module->schemasInstalled(program))
            QSKIP("published schemas not installed in the build's Schemas/");
        child<QPushButton>("BtnValidar")->click();
        QCOMPARE(child<QPlainTextEdit>("MemoComando_4")->toPlainText(),
                 QString("Submetendo ao XSD do layout 0.07 ...\nValidação do XML OK."));
    }

    void withoutAFileTheSampleSaleIsTestedAndItsCFeSaved() {
        child<QLineEdit>("EdtCFeTeste")->clear();
        child<QLineEdit>("EdtCodAtiv_4")
            ->setText(QString::fromStdString(emulator_test::activationCode));
        program.dialogs.shown.clear();
        child<QPushButton>("BtnMostra_4")->click();
        child<QPushButton>("BtnExecuta_4")->click();

        const QString command = child<QPlainTextEdit>("MemoComando_4")->toPlainText();
        QVERIFY2(command.contains(",<?xml version=\"1.0\" encoding=\"UTF-8\"?><CFe><infCFe "
                                  "versaoDadosEnt=\"0.06\">"),
                 qPrintable(command));
        QVERIFY(command.endsWith("</infCFe></CFe>)"));
        const QStringList lines =
            child<QPlainTextEdit>("MemoResposta_4")->toPlainText().split('\n');
        QVERIFY2(lines[0].contains("|09000|"), qPrintable(lines[0]));
        QVERIFY(lines.contains("---- CFe de retorno ----------------------------------"));
        QCOMPARE(program.dialogs.shown,
                 (QStringList{"message:Usando XML FimAFim Padrão",
                              "message:Usando XML FimAFim Padrão", "message:Emitido com sucesso",
                              "message:CFe de retorno salvo na pasta Retornos"}));
        const QString saved = program.path("Retornos/Resp_CFeFimAFim.xml");
        QVERIFY(testing_support::readFile(saved).contains("<xProd>MiniPc Vexor</xProd>"));

        QVERIFY(child<QPushButton>("BtnNaveg_4")->isEnabled());
        child<QPushButton>("BtnNaveg_4")->click();
        QCOMPARE(opened.takeLast(), saved);
    }

    void aRefusedTestKeepsTheLastGoodFile() {
        const QString saved = program.path("Retornos/Resp_CFeFimAFim.xml");
        const QString before = testing_support::readFile(saved);
        child<QLineEdit>("EdtCodAtiv_4")->setText("errado-123");
        program.dialogs.shown.clear();
        child<QPushButton>("BtnExecuta_4")->click();
        const QStringList lines =
            child<QPlainTextEdit>("MemoResposta_4")->toPlainText().split('\n');
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines[0].contains("|09001|"), qPrintable(lines[0]));
        QCOMPARE(program.dialogs.shown, QStringList{"message:Usando XML FimAFim Padrão"});
        QVERIFY(!child<QPushButton>("BtnNaveg_4")->isEnabled());
        QCOMPARE(testing_support::readFile(saved), before);
    }

    void cleanupTestCase() {
        QDesktopServices::unsetUrlHandler("file");
        window.reset();
    }
};

QTEST_MAIN(EndToEndPageTest)
#include "end_to_end_page_test.moc"
