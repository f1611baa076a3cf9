// The "Extrato" buttons of pages 8, 4 and 9 over the module emulator: disabled until their CF-e
// is saved, then the preview of the receipt, redrawn for the paper width and the summarised
// variant, saved as a PDF; page 9 finds the cancelled sale's CF-e by the names it remembers.

#include "receipt/receipt_preview_page.h"
#include "tests/documents/emulated_module.h"
#include "tests/support/page_driver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class ReceiptPreviewPageTest : public QObject {
    Q_OBJECT

    testing_support::TestProgram program;
    std::unique_ptr<documents_test::EmulatedModule> module;
    std::unique_ptr<app::MainWindow> window;
    std::unique_ptr<testing_support::PageDriver> page;

    bool enabled(const QString& button) { return page->widget<QPushButton>(button)->isEnabled(); }

    // The preview open now, taken off the window so that the next one is found alone.
    std::unique_ptr<receipt::ReceiptPreviewPage> takePreview() {
        auto* preview = window->findChild<receipt::ReceiptPreviewPage*>("FormExtrato");
        if (preview == nullptr)
            return nullptr;
        preview->setAttribute(Qt::WA_DeleteOnClose, false);
        preview->setParent(nullptr);
        return std::unique_ptr<receipt::ReceiptPreviewPage>(preview);
    }

    static QSize imageSize(receipt::ReceiptPreviewPage& preview) {
        return preview.findChild<QLabel*>("ImgExtrato")->pixmap().size();
    }

    void sell() {
        const QString sale = program.path("venda.xml");
        testing_support::writeFile(sale, QByteArray::fromStdString(emulator_test::saleDocument(2)));
        page->enter("BtnEnviarDadosVenda");
        page->type("EdtCodAtiv_8", QString::fromStdString(emulator_test::activationCode));
        page->widget<QLineEdit>("EdtCFe")->setText(sale);
        page->click("BtnMostra_8");
        page->click("BtnExecuta_8");
        program.dialogs.shown.clear();
    }

    void cancel(const QString& file, bool issuedMode) {
        page->enter("BtnCancelarUltVenda");
        page->type("EdtCodAtiv_9", QString::fromStdString(emulator_test::activationCode));
        page->widget<QCheckBox>("CheckCFe")->setChecked(issuedMode);
        page->widget<QLineEdit>("EdtXml_9")->setText(file);
        if (issuedMode)
            page->click("BtnGeraCanc_9");
        page->click("BtnMostra_9");
        page->click("BtnExecuta_9");
    }

private slots:
    void initTestCase() { module = std::make_unique<documents_test::EmulatedModule>(program); }

    void init() {
        window = program.start();
        page = std::make_unique<testing_support::PageDriver>(*window);
        program.dialogs.shown.clear();
    }

    void cleanup() {
        page.reset();
        window.reset();
    }

    void saleReceiptIsPreviewedRedrawnAndSaved() {
        page->enter("BtnEnviarDadosVenda");
        QVERIFY(!enabled("BtnExtrato_8"));
        sell();
        QVERIFY(enabled("BtnExtrato_8"));
        page->click("BtnExtrato_8");
        const auto preview = takePreview();
        QVERIFY(preview);
        // 8 dots per millimetre: the paper's width in dots.
        const QSize wide = imageSize(*preview);
        QCOMPARE(wide.width(), 640);
        preview->findChild<QComboBox*>("CmbLargura")->setCurrentIndex(1);
        const QSize narrow = imageSize(*preview);
        QCOMPARE(narrow.width(), 464);
        QVERIFY(narrow.height() > wide.height());
        preview->findChild<QCheckBox*>("CheckResumido")->setChecked(true);
        QVERIFY(imageSize(*preview).height() < narrow.height());

        const QString pdf = program.path("extrato.pdf");
        QVERIFY(preview->savePdf(pdf.toStdString()));
        QVERIFY(testing_support::readFile(pdf).startsWith("%PDF"));
        QVERIFY(!preview->savePdf(program.path("sem-pasta/extrato.pdf").toStdString()));
        QCOMPARE(program.dialogs.shown.size(), 1);
        QVERIFY(program.dialogs.shown[0].contains("sem-pasta/extrato.pdf"));
    }

    void endToEndReceiptIsPreviewed() {
        page->enter("BtnFimAFim");
        QVERIFY(!enabled("BtnExtrato_4"));
        page->type("EdtCodAtiv_4", QString::fromStdString(emulator_test::activationCode));
        page->click("BtnMostra_4");
        page->click("BtnExecuta_4");
        QVERIFY(enabled("BtnExtrato_4"));
        page->click("BtnExtrato_4");
        QVERIFY(takePreview());
    }

    // Issued mode: the sale's CF-e is the field's file; a ready CFeCanc named C_venda.xml: the
    // sale's answer Retornos/Resp_venda.xml.
    void cancellationReceiptFindsTheSaleByTheRememberedNames() {
        for (bool issuedMode : {true, false}) {
            sell();
            const QString saleFile = program.path("Retornos/Resp_venda.xml");
            QString file = saleFile;
            if (!issuedMode) {
                page->click("BtnGeraXmlCanc_8");
                file = program.path("Para_Cancelar/C_venda.xml");
            }
            cancel(file, issuedMode);
            QVERIFY(enabled("BtnExtrato_9"));
            // The sale's file field may change since; the names saved are the ones used.
            page->widget<QLineEdit>("EdtXml_9")->setText(program.path("venda.xml"));
            page->click("BtnExtrato_9");
            const auto preview = takePreview();
            QVERIFY2(preview, qPrintable(program.dialogs.shown.join("; ")));
            QCOMPARE(preview->windowTitle(), QString("Extrato do cancelamento"));
            QVERIFY(!preview->findChild<QCheckBox*>("CheckResumido")->isVisibleTo(preview.get()));
        }
    }

    void aFileReplacedSinceIsRefusedWithItsReason() {
        sell();
        testing_support::writeFile(program.path("Retornos/Resp_venda.xml"), "<CFe/>");
        program.dialogs.shown.clear();
        page->click("BtnExtrato_8");
        QVERIFY(!takePreview());
        QCOMPARE(program.dialogs.shown.size(), 1);
        QVERIFY2(program.dialogs.shown[0].contains("Resp_venda.xml: o arquivo não é um CF-e"),
                 qPrintable(program.dialogs.shown[0]));
    }
};

QTEST_MAIN(ReceiptPreviewPageTest)
#include "receipt_preview_page_test.moc"
