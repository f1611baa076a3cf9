// Page 4 over the module emulator: the sample sale when no file is chosen, the module's message,
// the returned CF-e saved as Retornos/Resp_CFeFimAFim.xml and opened by both browser buttons.

#include "tests/documents/emulated_module.h"
#include "tests/support/page_driver.h"

#include <QDesktopServices>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QUrl>

class EndToEndPageTest : public QObject {
    Q_OBJECT

    testing_support::TestProgram program;
    std::unique_ptr<documents_test::EmulatedModule> module;
    std::unique_ptr<app::MainWindow> window;
    std::unique_ptr<testing_support::PageDriver> page;
    QStringList opened;

    const QString fixture = TARVIK_FIXTURES_DIR "/documents/sample_sale.xml";

    void choose(const QString& file) { page->widget<QLineEdit>("EdtCFeTeste")->setText(file); }
    bool enabled(const QString& button) { return page->widget<QPushButton>(button)->isEnabled(); }

    void test(const QString& code) {
        page->type("EdtCodAtiv_4", code);
        page->click("BtnMostra_4");
        program.dialogs.shown.clear();
        page->click("BtnExecuta_4");
    }

public slots:
    void openUrl(const QUrl& url) { opened << url.toLocalFile(); }

private slots:
    void initTestCase() {
        module = std::make_unique<documents_test::EmulatedModule>(program);
        QDesktopServices::setUrlHandler("file", this, "openUrl");
    }

    void init() {
        window = program.start();
        page = std::make_unique<testing_support::PageDriver>(*window);
        page->enter("BtnFimAFim");
        opened.clear();
    }

    void cleanup() {
        page.reset();
        window.reset();
    }

    void beforeAnyTestTheBrowserButtonsOpenNothing() {
        QFile::remove(program.path("Retornos/Resp_CFeFimAFim.xml"));
        QVERIFY(!enabled("BtnBrowser"));
        QVERIFY(!enabled("BtnNaveg_4"));
        choose(fixture);
        QVERIFY(enabled("BtnValidar"));
        page->click("BtnBrowser");
        QVERIFY(opened.isEmpty());
    }

    void validateButtonOnARealSale() {
        if (!module->schemasInstalled(program))
            QSKIP("published schemas not installed in the build's Schemas/");
        choose(fixture);
        page->click("BtnValidar");
        QCOMPARE(page->lines("MemoComando_4"),
                 (QStringList{"Submetendo ao XSD do layout 0.07 ...", "Validação do XML OK."}));
    }

    void withoutAFileTheSampleSaleIsTestedAndItsCFeSaved() {
        test(QString::fromStdString(emulator_test::activationCode));
        const QString command = page->lines("MemoComando_4").join('\n');
        QVERIFY2(command.contains(",<?xml version=\"1.0\" encoding=\"UTF-8\"?><CFe><infCFe "
                                  "versaoDadosEnt=\"0.06\">"),
                 qPrintable(command));
        QVERIFY(command.endsWith("</infCFe></CFe>)"));
        const QStringList lines = page->lines("MemoResposta_4");
        QVERIFY2(lines[0].contains("|09000|"), qPrintable(lines[0]));
        QVERIFY(lines.contains("---- CFe de retorno ----------------------------------"));
        // "Mostrar" inside "Executar" uses the sample again.
        QCOMPARE(program.dialogs.shown,
                 (QStringList{"message:Usando XML FimAFim Padrão", "message:Emitido com sucesso",
                              "message:CFe de retorno salvo na pasta Retornos"}));
        const QString saved = program.path("Retornos/Resp_CFeFimAFim.xml");
        QVERIFY(testing_support::readFile(saved).contains("<xProd>MiniPc Vexor</xProd>"));

        QVERIFY(enabled("BtnNaveg_4"));
        page->click("BtnNaveg_4");
        choose(fixture);
        page->click("BtnBrowser");
        QCOMPARE(opened, (QStringList{saved, saved}));
    }

    void aRefusedTestKeepsTheLastGoodFile() {
        test(QString::fromStdString(emulator_test::activationCode));
        const QString saved = program.path("Retornos/Resp_CFeFimAFim.xml");
        const QString before = testing_support::readFile(saved);
        test("errado-123");
        const QStringList lines = page->lines("MemoResposta_4");
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines[0].contains("|09001|"), qPrintable(lines[0]));
        QCOMPARE(program.dialogs.shown, QStringList{"message:Usando XML FimAFim Padrão"});
        QVERIFY(!enabled("BtnNaveg_4"));
        QCOMPARE(testing_support::readFile(saved), before);
    }

    void cleanupTestCase() { QDesktopServices::unsetUrlHandler("file"); }
};

QTEST_MAIN(EndToEndPageTest)
#include "end_to_end_page_test.moc"
