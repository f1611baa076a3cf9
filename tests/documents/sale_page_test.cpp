// Page 8 over the module emulator: the file chosen, validated, sent, the issued CF-e reported and
// saved, the browser button opening the file saved even after the field changed.

#include "tests/documents/emulated_module.h"

#include <QDesktopServices>
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
    QStringList opened;

    template <typename T> T* child(const char* name) {
        T* widget = window->findChild<T*>(name);
        if (!widget)
            qFatal("no widget %s", name);
        return widget;
    }
    QString answerBox() { return child<QPlainTextEdit>("MemoResposta_8")->toPlainText(); }

public slots:
    void openUrl(const QUrl& url) { opened << url.toLocalFile(); }

private slots:
    void initTestCase() {
        module = std::make_unique<documents_test::EmulatedModule>(program);
        QDesktopServices::setUrlHandler("file", this, "openUrl");
        window = program.start();
        child<QPushButton>("BtnEnviarDadosVenda")->click();
    }

    void theFileFieldEnablesItsButtons() {
        QVERIFY(!child<QPushButton>("BtnValida_8")->isEnabled());
        QVERIFY(!child<QPushButton>("BtnBrowser_8")->isEnabled());
        QVERIFY(!child<QPushButton>("BtnNaveg_8")->isEnabled());
        child<QLineEdit>("EdtCFe")->setText(TARVIK_FIXTURES_DIR "/documents/sample_sale.xml");
        QVERIFY(child<QPushButton>("BtnValida_8")->isEnabled());
        QVERIFY(child<QPushButton>("BtnBrowser_8")->isEnabled());
        child<QPushButton>("BtnBrowser_8")->click();
        QCOMPARE(opened.takeLast(), QString(TARVIK_FIXTURES_DIR "/documents/sample_sale.xml"));
    }

    void validateButtonOnARealSale() {
        if (!module->schemasInstalled(program))
            QSKIP("published schemas not installed in the build's Schemas/");
        child<QPushButton>("BtnValida_8")->click();
        QCOMPARE(child<QPlainTextEdit>("MemoComando_8")->toPlainText(),
                 QString("Submetendo ao XSD do layout 0.07 ...\nValidação do XML do CFe OK."));
    }

    void saleIsSentReportedAndSaved() {
        const QString sale = program.path("vendas/venda.xml");
        testing_support::writeFile(sale, QByteArray::fromStdString(emulator_test::saleDocument(2)));
        child<QLineEdit>("EdtCodAtiv_8")
            ->setText(QString::fromStdString(emulator_test::activationCode));
        child<QLineEdit>("EdtCFe")->setText(sale);
        program.dialogs.shown.clear();
        child<QPushButton>("BtnMostra_8")->click();
        child<QPushButton>("BtnExecuta_8")->click();

        const QStringList lines = answerBox().split('\n');
        QVERIFY2(lines[0].contains("|06000|0000|"), qPrintable(lines[0]));
        QVERIFY(lines.contains("---- XML do CFe emitido -----------------------------"));
        QCOMPARE(program.dialogs.shown,
                 QStringList{"message:CFe de retorno salvo na pasta Retornos com nome: "
                             "Resp_venda.xml"});
        const QString saved = program.path("Retornos/Resp_venda.xml");
        QVERIFY(testing_support::readFile(saved).contains("<CFe><infCFe Id=\"CFe"));
        QVERIFY(child<QPushButton>("BtnNaveg_8")->isEnabled());

        // The saved file's name is the one remembered, whatever the field says now.
        child<QLineEdit>("EdtCFe")->setText(TARVIK_FIXTURES_DIR "/documents/sample_sale.xml");
        child<QPushButton>("BtnNaveg_8")->click();
        QCOMPARE(opened.takeLast(), saved);
        QVERIFY(child<QPushButton>("BtnGeraXmlCanc_8")->isEnabled());
        child<QPushButton>("BtnGeraXmlCanc_8")->click();
        QCOMPARE(program.dialogs.shown.takeLast(),
                 QString("message:XML para cancelamento gerado na pasta Para_Cancelar com nome: "
                         "C_venda.xml"));
        const QString id = testing_support::readFile(saved).section("Id=\"", 1).left(47);
        QCOMPARE(testing_support::readFile(program.path("Para_Cancelar/C_venda.xml"))
                     .section("<ide>", 0, 0),
                 "<?xml version=\"1.0\" encoding=\"UTF-8\"?><CFeCanc><infCFe chCanc=\"" + id +
                     "\">");
    }

    void anErrorShowsTheRawLineOnlyAndDisablesTheBrowserButton() {
        const QString saved = program.path("Retornos/Resp_venda.xml");
        const QString before = testing_support::readFile(saved);
        // The fixture's signature is not the one associated.
        program.dialogs.shown.clear();
        child<QPushButton>("BtnExecuta_8")->click();
        const QStringList lines = answerBox().split('\n');
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines[0].contains("|06004|") || lines[0].contains("|06010|"),
                 qPrintable(lines[0]));
        QVERIFY(program.dialogs.shown.isEmpty());
        QVERIFY(!child<QPushButton>("BtnNaveg_8")->isEnabled());
        QVERIFY(!child<QPushButton>("BtnGeraXmlCanc_8")->isEnabled());
        QCOMPARE(testing_support::readFile(saved), before);
    }

    void cleanupTestCase() {
        QDesktopServices::unsetUrlHandler("file");
        window.reset();
    }
};

QTEST_MAIN(SalePageTest)
#include "sale_page_test.moc"
