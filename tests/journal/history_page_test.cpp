// The "Histórico" view over a journal of the test's own: newest first, the filters, the details
// of the selected call with its report shown again, "Extrato" for a document call, and the
// package of the calls shown or of the rows selected.

#include "journal/history_page.h"
#include "ui/dialogs.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

namespace {

journal::CallEntry call(std::string operation, std::string answer, int minutesAgo) {
    journal::CallEntry entry;
    entry.start = std::chrono::system_clock::now() - std::chrono::minutes(minutesAgo);
    entry.startLocal = "há " + std::to_string(minutesAgo) + " min";
    entry.frontEnd = "janela";
    entry.accessMode = "DLL";
    entry.operation = std::move(operation);
    entry.callText = entry.operation + "(000001)";
    entry.answer = std::move(answer);
    entry.answerCode = entry.answer.substr(entry.answer.find('|') + 1, 5);
    return entry;
}

// Answers the save dialog with `answer`, keeping the file it proposed.
struct SaveDialog : ui::Dialogs {
    QString proposed;
    QString answer;
    QString saveFileName(QWidget*, const QString&, const QString& file, const QString&) override {
        proposed = file;
        return answer;
    }
};

} // namespace

class HistoryPageTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    std::filesystem::path file() const {
        return std::filesystem::path(folder.path().toStdString()) / "historico.sqlite";
    }
    QStringList column(journal::HistoryPage& page, int index) {
        auto* table = page.findChild<QTableWidget*>("GridChamadas");
        QStringList values;
        for (int row = 0; row < table->rowCount(); ++row)
            values << table->item(row, index)->text();
        return values;
    }

private slots:
    void initTestCase() {
        journal::Journal journal(file());
        journal.record(call("ConsultarSAT", "1|08000|SAT em Operação||", 30));
        journal::CallEntry status =
            call("ConsultarStatusOperacional", "2|10000|Resposta com Sucesso.|", 20);
        // The report of a status answer kept in clear by an earlier version.
        status.report = "NSERIE           : 900004019\n  <proxy_senha>antiga</proxy_senha>\n";
        journal.record(status);
        journal.record(call("ConsultarSAT", "3|08098|SAT em processamento||", 10));
        journal.record(
            call("EnviarDadosVenda", "4|06000|0000|Emitido com sucesso|||PEZlLz4=|", 40));
    }

    void listsNewestFirstAndFilters() {
        journal::HistoryPage page(file());
        page.search();
        QCOMPARE(column(page, 2), (QStringList{"08098", "10000", "08000", "06000"}));

        page.findChild<QComboBox*>("CbOperacao")->setCurrentText("ConsultarSAT");
        page.findChild<QPushButton*>("BtnPesquisar")->click();
        QCOMPARE(column(page, 2), (QStringList{"08098", "08000"}));

        page.findChild<QLineEdit*>("EdtTexto")->setText("processamento");
        page.findChild<QPushButton*>("BtnPesquisar")->click();
        QCOMPARE(column(page, 2), QStringList{"08098"});
        page.findChild<QLineEdit*>("EdtTexto")->setText("OPERACAO"); // finds "Operação"
        page.findChild<QPushButton*>("BtnPesquisar")->click();
        QCOMPARE(column(page, 2), QStringList{"08000"});

        page.findChild<QComboBox*>("CbOperacao")->setCurrentIndex(0);
        page.findChild<QLineEdit*>("EdtTexto")->clear();
        page.findChild<QLineEdit*>("EdtCodigo")->setText("10000");
        page.findChild<QPushButton*>("BtnPesquisar")->click();
        QCOMPARE(column(page, 1), QStringList{"ConsultarStatusOperacional"});
    }

    void detailsShowTheCallTheAnswerAndTheReportAgain() {
        journal::HistoryPage page(file());
        page.search();
        page.findChild<QTableWidget*>("GridChamadas")->selectRow(1);
        const QString details = page.findChild<QPlainTextEdit*>("MemoDetalhes")->toPlainText();
        QVERIFY2(details.contains("ConsultarStatusOperacional(000001)"), qPrintable(details));
        QVERIFY(details.contains("2|10000|Resposta com Sucesso.|"));
        QVERIFY(details.contains("NSERIE           : 900004019"));
        QVERIFY(details.contains("<proxy_senha>******</proxy_senha>"));
        QVERIFY(!details.contains("antiga"));
    }

    // The newest call is selected: one click packs every call the filter shows; several rows
    // selected are packed alone. The dialog proposes the user's documents folder.
    void exportsTheCallsShownOrTheRowsSelected() {
        journal::HistoryPage page(file());
        page.search();
        auto* table = page.findChild<QTableWidget*>("GridChamadas");
        auto* button = page.findChild<QPushButton*>("BtnExportar");
        QCOMPARE(button->text(), QString("Pacote de suporte (4 chamadas)…"));
        const auto zip = file().parent_path() / "pacote.zip";
        QString summary = page.exportSelected(zip);
        QVERIFY2(summary.contains("4 chamada(s)"), qPrintable(summary));
        QVERIFY(std::filesystem::exists(zip));

        table->item(2, 0)->setSelected(true);
        QCOMPARE(button->text(), QString("Pacote de suporte (2 chamadas)…"));
        QVERIFY(page.exportSelected(zip).contains("2 chamada(s)"));

        page.findChild<QLineEdit*>("EdtTexto")->setText("processamento");
        page.search();
        QCOMPARE(button->text(), QString("Pacote de suporte (1 chamada)…"));
        page.findChild<QLineEdit*>("EdtTexto")->setText("nada disso");
        page.search();
        QCOMPARE(button->text(), QString("Pacote de suporte (0 chamadas)…"));
        QVERIFY(!button->isEnabled());
        QCOMPARE(page.exportSelected(zip), QString("Nenhuma chamada a exportar."));

        page.findChild<QLineEdit*>("EdtTexto")->clear();
        page.search();
        SaveDialog dialog;
        ui::setDialogs(&dialog);
        button->click();
        ui::setDialogs(nullptr);
        QCOMPARE(dialog.proposed,
                 QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
                     "/pacote-suporte.zip");
    }

    // Enabled for one selected sale, cancellation or end-to-end test, as the selection moves by
    // mouse or keyboard; it hands the call to the receipt.
    void extratoFollowsTheSelection() {
        journal::HistoryPage page(file());
        auto* extrato = page.findChild<QPushButton*>("BtnExtrato");
        QVERIFY(extrato->isHidden());
        std::vector<journal::CallEntry> opened;
        page.setReceiptOpener(
            [&opened](QWidget*, const journal::CallEntry& call) { opened.push_back(call); });
        QVERIFY(!extrato->isHidden());
        page.search();
        auto* table = page.findChild<QTableWidget*>("GridChamadas");
        QVERIFY(!extrato->isEnabled());
        table->setFocus();
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(table, Qt::Key_Down);
        QCOMPARE(table->currentRow(), 3);
        QVERIFY(extrato->isEnabled());
        QTest::keyClick(table, Qt::Key_Up, Qt::ShiftModifier);
        QVERIFY(!extrato->isEnabled()); // two rows
        table->selectRow(3);
        extrato->click();
        QCOMPARE(opened.size(), std::size_t(1));
        QCOMPARE(opened[0].operation, std::string("EnviarDadosVenda"));
        QCOMPARE(opened[0].answer, std::string("4|06000|0000|Emitido com sucesso|||PEZlLz4=|"));
        table->clearSelection();
        QVERIFY(!extrato->isEnabled());
    }
};

QTEST_MAIN(HistoryPageTest)
#include "history_page_test.moc"
