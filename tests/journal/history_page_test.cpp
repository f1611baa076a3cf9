// The "Histórico" view over a journal of the test's own: newest first, the filters, the details
// of the selected call with its report shown again, and the package of the selected calls.

#include "journal/history_page.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
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
    }

    void listsNewestFirstAndFilters() {
        journal::HistoryPage page(file());
        page.search();
        QCOMPARE(column(page, 2), (QStringList{"08098", "10000", "08000"}));

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

    void exportsOnlyTheSelectedCalls() {
        journal::HistoryPage page(file());
        page.search();
        auto* table = page.findChild<QTableWidget*>("GridChamadas");
        table->clearSelection();
        QCOMPARE(page.exportSelected(file().parent_path() / "vazio.zip"),
                 QString("Selecione as chamadas a exportar."));
        table->selectRow(0);
        table->item(2, 0)->setSelected(true);
        const auto zip = file().parent_path() / "pacote.zip";
        const QString summary = page.exportSelected(zip);
        QVERIFY2(summary.contains("2 chamada(s)"), qPrintable(summary));
        QVERIFY(std::filesystem::exists(zip));
    }
};

QTEST_MAIN(HistoryPageTest)
#include "history_page_test.moc"
