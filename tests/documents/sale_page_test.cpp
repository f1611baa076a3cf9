// Page 8 over the module emulator: the file chosen, validated, sent, the issued CF-e reported and
// saved, the browser button opening the file saved even after the field changed.

#include "tests/documents/base64_encoder.h"
#include "tests/documents/emulated_module.h"
#include "tests/support/page_driver.h"

#include <QDesktopServices>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QUrl>

class SalePageTest : public QObject {
    Q_OBJECT

    testing_support::TestProgram program;
    std::unique_ptr<documents_test::EmulatedModule> module;
    std::unique_ptr<app::MainWindow> window;
    std::unique_ptr<testing_support::PageDriver> page;
    QStringList opened;

    const QString fixture = TARVIK_FIXTURES_DIR "/documents/sample_sale.xml";

    // What the file choice does: the whole path, whatever its length.
    void choose(const QString& file) { page->widget<QLineEdit>("EdtCFe")->setText(file); }
    bool enabled(const QString& button) { return page->widget<QPushButton>(button)->isEnabled(); }

    // A sale the emulated module accepts, in a file of its own.
    QString saleFile() {
        const QString sale = program.path("vendas/venda.xml");
        testing_support::writeFile(sale, QByteArray::fromStdString(emulator_test::saleDocument(2)));
        return sale;
    }

    void sell(const QString& file) {
        page->type("EdtCodAtiv_8", QString::fromStdString(emulator_test::activationCode));
        choose(file);
        page->click("BtnMostra_8");
        program.dialogs.shown.clear();
        page->click("BtnExecuta_8");
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
        page->enter("BtnEnviarDadosVenda");
        opened.clear();
    }

    void cleanup() {
        page.reset();
        window.reset();
    }

    void theFileFieldEnablesItsButtons() {
        QVERIFY(!enabled("BtnValida_8"));
        QVERIFY(!enabled("BtnBrowser_8"));
        QVERIFY(!enabled("BtnNaveg_8"));
        choose(fixture);
        QVERIFY(enabled("BtnValida_8"));
        page->click("BtnBrowser_8");
        QCOMPARE(opened, QStringList{fixture});
        // Typing stops at 32 characters; the chosen path above was taken whole.
        page->type("EdtCFe", QString(40, 'x'));
        QCOMPARE(page->widget<QLineEdit>("EdtCFe")->text(), QString(32, 'x'));
        QVERIFY(!enabled("BtnBrowser_8"));
    }

    // A desktop that starts nothing for the file (the offscreen platform opens nothing): the
    // button says so instead of doing nothing.
    void aFileNothingCanOpenIsReported() {
        QDesktopServices::unsetUrlHandler("file");
        choose(fixture);
        program.dialogs.shown.clear();
        page->click("BtnBrowser_8");
        QDesktopServices::setUrlHandler("file", this, "openUrl");
        QCOMPARE(program.dialogs.shown.size(), 1);
        QVERIFY2(program.dialogs.shown[0].startsWith("message:Não foi possível abrir " +
                                                     QDir::toNativeSeparators(fixture)),
                 qPrintable(program.dialogs.shown[0]));
    }

    void validateButtonOnARealSale() {
        if (!module->schemasInstalled(program))
            QSKIP("published schemas not installed in the build's Schemas/");
        choose(fixture);
        page->click("BtnValida_8");
        QCOMPARE(page->lines("MemoComando_8"), (QStringList{"Submetendo ao XSD do layout 0.07 ...",
                                                            "Validação do XML do CFe OK."}));
    }

    void saleIsSentReportedAndSaved() {
        sell(saleFile());
        const QStringList lines = page->lines("MemoResposta_8");
        QVERIFY2(lines[0].contains("|06000|0000|"), qPrintable(lines[0]));
        QVERIFY(lines.contains("---- XML do CFe emitido -----------------------------"));
        QCOMPARE(program.dialogs.shown,
                 QStringList{"message:CFe de retorno salvo na pasta Retornos com nome: "
                             "Resp_venda.xml"});
        const QString saved = program.path("Retornos/Resp_venda.xml");
        QVERIFY(testing_support::readFile(saved).contains("<CFe><infCFe Id=\"CFe"));
        QVERIFY(enabled("BtnNaveg_8"));

        // The saved file's name is the one remembered, whatever the field says now.
        choose(fixture);
        page->click("BtnNaveg_8");
        QCOMPARE(opened, QStringList{saved});
        // The cancellation is generated from the saved file too.
        page->click("BtnGeraXmlCanc_8");
        QCOMPARE(program.dialogs.shown.takeLast(),
                 QString("message:XML para cancelamento gerado na pasta Para_Cancelar com nome: "
                         "C_venda.xml"));
        const QString id = testing_support::readFile(saved).section("Id=\"", 1).left(47);
        QCOMPARE(testing_support::readFile(program.path("Para_Cancelar/C_venda.xml"))
                     .section("<ide>", 0, 0),
                 "<?xml version=\"1.0\" encoding=\"UTF-8\"?><CFeCanc><infCFe chCanc=\"" + id +
                     "\">");
    }

    void anErrorShowsTheRawLineOnlyAndKeepsTheSavedFile() {
        sell(saleFile());
        const QString saved = program.path("Retornos/Resp_venda.xml");
        const QString before = testing_support::readFile(saved);
        // A wrong code: the module refuses the sale.
        page->type("EdtCodAtiv_8", "errado-123");
        program.dialogs.shown.clear();
        page->click("BtnExecuta_8");
        const QStringList lines = page->lines("MemoResposta_8");
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines[0].contains("|06001|"), qPrintable(lines[0]));
        QVERIFY(program.dialogs.shown.isEmpty());
        QVERIFY(!enabled("BtnNaveg_8"));
        QVERIFY(!enabled("BtnGeraXmlCanc_8"));
        QCOMPARE(testing_support::readFile(saved), before);
    }

    // A short answer (here without the QR-code signature) still brings the issued CF-e in field
    // 6: it is saved, a line says what is missing, and the answer bar's buttons follow. A program
    // folder of its own, on the fake library.
    void aShortAnswerStillSavesTheIssuedCFe() {
        page.reset();
        window.reset();
        testing_support::TestProgram faked;
        faked.installFakeLibrary();
        faked.writeIni("[DEFAULT]\r\nACESSO=DLL\r\n");
        const auto fakedWindow = faked.start();
        page = std::make_unique<testing_support::PageDriver>(*fakedWindow);
        page->enter("BtnEnviarDadosVenda");
        testing_support::FakeLibrary fake;
        const std::string issued = "<CFe><infCFe Id=\"CFe1\"/></CFe>";
        fake.setAnswer(("000001|06000|0000|Emitido|||" + documents_test::base64(issued) +
                        "|20261210133000|CFe1|20.61|111")
                           .c_str());
        const QString sale = faked.path("venda.xml");
        testing_support::writeFile(sale, "<CFe/>");
        page->type("EdtCodAtiv_8", "12345678");
        choose(sale);
        page->click("BtnMostra_8");
        faked.dialogs.shown.clear();
        page->click("BtnExecuta_8");
        const QStringList lines = page->lines("MemoResposta_8");
        const bool answerBarEnabled = enabled("BtnNaveg_8") && enabled("BtnGeraXmlCanc_8");
        page.reset();
        QVERIFY(answerBarEnabled);
        QVERIFY2(lines.contains("Resposta com 11 campos, menos que os 12 esperados (faltam: "
                                "assinaturaQRCODE)."),
                 qPrintable(lines.join('\n')));
        QCOMPARE(testing_support::readFile(faked.path("Retornos/Resp_venda.xml")),
                 QString::fromStdString(issued + "\r\n"));
        QCOMPARE(faked.dialogs.shown,
                 QStringList{"message:CFe de retorno salvo na pasta Retornos com nome: "
                             "Resp_venda.xml"});
    }

    void cleanupTestCase() { QDesktopServices::unsetUrlHandler("file"); }
};

QTEST_MAIN(SalePageTest)
#include "sale_page_test.moc"
