// The "Extrato" buttons of pages 8, 4 and 9 over the module emulator: a chosen file's receipt
// until their CF-e is saved, then the preview of the receipt, redrawn for the paper width and the
// summarised variant, saved as a PDF; page 9 finds the cancelled sale's CF-e by the names it
// remembers. The preview opens wide enough for its paper, with the choices last made; the
// "Histórico" prints a journalled call's receipt again after a restart.

#include "journal/history_page.h"
#include "journal/journal_file.h"
#include "receipt/receipt_preview_page.h"
#include "tests/documents/base64_encoder.h"
#include "tests/documents/emulated_module.h"
#include "tests/support/page_driver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
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
        sell();
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
        page->type("EdtCodAtiv_4", QString::fromStdString(emulator_test::activationCode));
        page->click("BtnMostra_4");
        page->click("BtnExecuta_4");
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

    // Before a document of this run (a new window) each button asks for an XML: a CF-e, or a
    // CFeCanc whose sale is found beside it; a file that is neither is refused with its reason.
    void withoutADocumentOfThisRunTheButtonsPrintAChosenFile() {
        sell();
        cancel(program.path("Retornos/Resp_venda.xml"), true);
        window = program.start();
        page = std::make_unique<testing_support::PageDriver>(*window);
        const QString notXml = program.path("nota.xml");
        testing_support::writeFile(notXml, "não é XML");
        const QString saleFile = program.path("Retornos/Resp_venda.xml");
        struct Case {
            const char* page;
            const char* button;
            QString file;
            QString title; // empty: refused
        };
        const Case cases[] = {
            {"BtnEnviarDadosVenda", "BtnExtrato_8", saleFile, "Extrato do CF-e-SAT"},
            {"BtnFimAFim", "BtnExtrato_4", notXml, ""},
            {"BtnCancelarUltVenda", "BtnExtrato_9",
             program.path("Retornos/RespCanc_Resp_venda.xml"), "Extrato do cancelamento"},
        };
        for (const Case& c : cases) {
            page->enter(c.page);
            QVERIFY(enabled(c.button));
            program.dialogs.shown.clear();
            program.dialogs.fileDialogs.clear();
            program.dialogs.fileAnswers = {c.file};
            page->click(c.button);
            QCOMPARE(program.dialogs.fileDialogs.size(), 1);
            const auto preview = takePreview();
            if (c.title.isEmpty()) {
                QVERIFY(!preview);
                QCOMPARE(program.dialogs.shown.size(), 1);
                QVERIFY2(program.dialogs.shown[0].contains("nota.xml: o arquivo não é um XML"),
                         qPrintable(program.dialogs.shown[0]));
                continue;
            }
            QVERIFY2(preview, qPrintable(program.dialogs.shown.join("; ")));
            QCOMPARE(preview->windowTitle(), c.title);
        }
    }

    // The sale and its cancellation, printed again from the "Histórico" of a new window: from
    // the files while they hold what was written, from the recorded answers once changed.
    void theHistoryPrintsAJournalledSaleAndCancellationAgain() {
        sell();
        cancel(program.path("Retornos/Resp_venda.xml"), true);
        window = program.start();
        page = std::make_unique<testing_support::PageDriver>(*window);
        page->click("BtnHistorico");
        auto* history = window->findChild<journal::HistoryPage*>("TabHistorico");
        auto* table = history->findChild<QTableWidget*>("GridChamadas");
        const auto rowOf = [&](const char* operation) {
            for (int row = 0; row < table->rowCount(); ++row)
                if (table->item(row, 1)->text() == operation)
                    return row;
            return -1;
        };
        for (bool changed : {false, true}) {
            if (changed)
                testing_support::writeFile(program.path("Retornos/Resp_venda.xml"), "<CFe/>");
            history->search();
            for (const char* operation : {"EnviarDadosVenda", "CancelarUltimaVenda"}) {
                QVERIFY2(rowOf(operation) >= 0, operation);
                table->selectRow(rowOf(operation));
                program.dialogs.shown.clear();
                page->click("BtnExtrato");
                const auto preview = takePreview();
                QVERIFY2(preview, qPrintable(program.dialogs.shown.join("; ")));
                QCOMPARE(preview->windowTitle(),
                         QString(operation == std::string("EnviarDadosVenda")
                                     ? "Extrato do CF-e-SAT"
                                     : "Extrato do cancelamento"));
            }
        }
        table->selectAll();
        QVERIFY(!enabled("BtnExtrato"));
    }

    // A cancellation whose sale the journal no longer holds (pruned) says so, naming the key.
    void theHistoryNamesACancelledSaleItDoesNotHold() {
        const std::string key = "35261211111111111111591234567890001234567890";
        const std::string cancellation =
            "<CFeCanc><infCFe Id=\"CFe35261211111111111111591234567890001234567891\" chCanc=\"CFe" +
            key + "\"><ide/></infCFe></CFeCanc>";
        journal::CallEntry call;
        call.start = std::chrono::system_clock::now();
        call.startLocal = "agora";
        call.operation = "CancelarUltimaVenda";
        call.answer = "9|07000|0000|Cupom cancelado com sucesso|||" +
                      documents_test::base64(cancellation) + "|20261211|CFe1|1.00||Q";
        call.answerCode = "07000";
        journal::Journal(
            journal::journalPath(
                core::pathFromUtf8(program.path("tarvikplus").toStdString()).parent_path()))
            .record(call);
        page->click("BtnHistorico");
        auto* table = window->findChild<QTableWidget*>("GridChamadas");
        table->selectRow(0);
        program.dialogs.shown.clear();
        page->click("BtnExtrato");
        QVERIFY(!takePreview());
        QCOMPARE(program.dialogs.shown,
                 QStringList{"message:A venda cancelada (chave " + QString::fromStdString(key) +
                             ") não está no histórico."});
    }

    // The whole paper shows without a horizontal scroll bar; the paper width and "Resumido"
    // are the ones last chosen, in the next preview and in a new window.
    void thePreviewFitsItsPaperAndKeepsTheChoices() {
        sell();
        for (int width : {-1, 0, 1}) {
            page->click("BtnExtrato_8");
            const auto preview = takePreview();
            QVERIFY(preview);
            if (width >= 0) {
                QCOMPARE(preview->findChild<QComboBox*>("CmbLargura")->currentIndex(), width);
                QCOMPARE(preview->findChild<QCheckBox*>("CheckResumido")->isChecked(), width == 1);
                preview->QWidget::show();
                QVERIFY(QTest::qWaitForWindowExposed(preview.get()));
                auto* scroll = preview->findChild<QScrollArea*>("ScrollExtrato");
                QTRY_COMPARE(scroll->horizontalScrollBar()->maximum(), 0);
            }
            preview->findChild<QComboBox*>("CmbLargura")->setCurrentIndex(width == -1 ? 0 : 1);
            preview->findChild<QCheckBox*>("CheckResumido")->setChecked(width != -1);
        }
        QVERIFY(testing_support::readFile(program.path("tarvikplus.ini"))
                    .contains("[EXTRATO]\r\nLARGURA=58\r\nRESUMIDO=1"));
        window = program.start();
        page = std::make_unique<testing_support::PageDriver>(*window);
        sell();
        page->click("BtnExtrato_8");
        const auto preview = takePreview();
        QVERIFY(preview);
        QCOMPARE(preview->findChild<QComboBox*>("CmbLargura")->currentIndex(), 1);
        preview->findChild<QComboBox*>("CmbLargura")->setCurrentIndex(0);
        preview->findChild<QCheckBox*>("CheckResumido")->setChecked(false);
    }
};

QTEST_MAIN(ReceiptPreviewPageTest)
#include "receipt_preview_page_test.moc"
