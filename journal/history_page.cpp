#include "journal/history_page.h"

#include "core/path_text.h"
#include "journal/calendar_day.h"
#include "journal/entry_details.h"
#include "journal/recorded_document.h"
#include "journal/support_package.h"
#include "ui/dialogs.h"
#include "ui/qt_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStandardPaths>
#include <QTableWidget>
#include <QVBoxLayout>

namespace journal {
namespace {

using ui::qs;

// The journal keeps every call; the view shows the newest ones, which is what a search is for.
constexpr std::size_t shownLimit = 2000;
const QString anyOperation = "(todas)";

// The whole text is also the cell's tool tip, for a column too narrow for it.
QTableWidgetItem* cell(const std::string& text, const std::string& shown) {
    auto* item = new QTableWidgetItem(qs(shown));
    item->setToolTip(qs(text));
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

QTableWidgetItem* cell(const std::string& text) {
    return cell(text, text);
}

// "2026-12-11 00:23:44 -0300" without the offset: the details show it.
std::string startShown(const std::string& startLocal) {
    const std::size_t offset = startLocal.rfind(' ');
    return startLocal.size() > 19 && offset == 19 ? startLocal.substr(0, 19) : startLocal;
}

std::string dayText(const QDate& date) {
    return date.toString("yyyy-MM-dd").toStdString();
}

} // namespace

HistoryPage::HistoryPage(std::filesystem::path journalFile, QWidget* parent)
    : QWidget(parent), file_(std::move(journalFile)) {
    setObjectName("TabHistorico");
    auto* title = new QLabel("Histórico de chamadas");
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSize(titleFont.pointSize() + 4);
    title->setFont(titleFont);

    operation_ = new QComboBox;
    operation_->setObjectName("CbOperacao");
    code_ = new QLineEdit;
    code_->setObjectName("EdtCodigo");
    code_->setPlaceholderText("EEEEE");
    code_->setMaxLength(5);
    period_ = new QCheckBox("De");
    period_->setObjectName("CkPeriodo");
    from_ = new QDateEdit(QDate::currentDate().addDays(-7));
    from_->setObjectName("DtDesde");
    to_ = new QDateEdit(QDate::currentDate());
    to_->setObjectName("DtAte");
    for (QDateEdit* date : {from_, to_}) {
        date->setCalendarPopup(true);
        date->setDisplayFormat("dd/MM/yyyy");
    }
    text_ = new QLineEdit;
    text_->setObjectName("EdtTexto");
    text_->setPlaceholderText("texto na chamada ou na resposta");
    auto* searchButton = new QPushButton("Pesquisar");
    searchButton->setObjectName("BtnPesquisar");
    export_ = new QPushButton;
    export_->setObjectName("BtnExportar");
    extrato_ = new QPushButton("Extrato");
    extrato_->setObjectName("BtnExtrato");
    extrato_->setToolTip("O extrato do CF-e ou do cancelamento da chamada selecionada");
    extrato_->setEnabled(false);
    extrato_->hide();

    auto* filters = new QGridLayout;
    filters->addWidget(new QLabel("Operação:"), 0, 0);
    filters->addWidget(operation_, 0, 1);
    filters->addWidget(new QLabel("Código:"), 0, 2);
    filters->addWidget(code_, 0, 3);
    filters->addWidget(period_, 1, 0);
    auto* dates = new QHBoxLayout;
    dates->addWidget(from_);
    dates->addWidget(new QLabel("até"));
    dates->addWidget(to_);
    filters->addLayout(dates, 1, 1);
    filters->addWidget(new QLabel("Texto:"), 1, 2);
    filters->addWidget(text_, 1, 3);
    filters->addWidget(searchButton, 0, 4);
    filters->setColumnStretch(1, 1);
    filters->setColumnStretch(3, 1);

    table_ = new QTableWidget(0, 6);
    table_->setObjectName("GridChamadas");
    table_->setHorizontalHeaderLabels(
        {"Início", "Operação", "Código", "Resultado", "Duração", "Origem"});
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->verticalHeader()->hide();
    // The start, operation, code and duration whole; the outcome and the origin share what is
    // left, so the six fit the designed window (a long outcome or origin is elided, whole in
    // its tool tip and in the details).
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(3, QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(5, QHeaderView::Stretch);
    details_ = new QPlainTextEdit;
    details_->setObjectName("MemoDetalhes");
    details_->setReadOnly(true);
    details_->setLineWrapMode(QPlainTextEdit::NoWrap);
    details_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* split = new QSplitter(Qt::Vertical);
    split->addWidget(table_);
    split->addWidget(details_);

    status_ = new QLabel;
    status_->setObjectName("LblHistorico");
    status_->setWordWrap(true);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(status_, 1);
    bottom->addWidget(extrato_);
    bottom->addWidget(export_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addLayout(filters);
    layout->addWidget(split, 1);
    layout->addLayout(bottom);

    connect(searchButton, &QPushButton::clicked, this, &HistoryPage::search);
    connect(text_, &QLineEdit::returnPressed, this, &HistoryPage::search);
    connect(table_, &QTableWidget::itemSelectionChanged, this, &HistoryPage::selectionChanged);
    connect(export_, &QPushButton::clicked, this, [this] { status_->setText(exportSelected()); });
    connect(extrato_, &QPushButton::clicked, this, [this] {
        const std::vector<CallEntry> chosen = selected();
        if (opener_ && chosen.size() == 1)
            opener_(this, chosen.front());
    });
    selectionChanged();
}

void HistoryPage::setReceiptOpener(ReceiptOpener opener) {
    opener_ = std::move(opener);
    extrato_->setVisible(bool(opener_));
    selectionChanged();
}

Filter HistoryPage::filter() const {
    Filter filter;
    if (operation_->currentText() != anyOperation)
        filter.operation = operation_->currentText().toStdString();
    filter.answerCode = code_->text().trimmed().toStdString();
    filter.text = text_->text().toStdString();
    if (period_->isChecked()) {
        filter.from = dayStart(dayText(from_->date()));
        filter.to = dayEnd(dayText(to_->date()));
    }
    filter.limit = shownLimit;
    return filter;
}

void HistoryPage::search() {
    table_->setRowCount(0);
    details_->clear();
    try {
        Journal journal(file_);
        QString notice = qs(journal.notice());
        const QString chosen = operation_->currentText();
        operation_->clear();
        operation_->addItem(anyOperation);
        for (const std::string& name : journal.operations())
            operation_->addItem(qs(name));
        operation_->setCurrentText(chosen.isEmpty() ? anyOperation : chosen);
        calls_ = journal.find(filter());
        status_->setText(notice.isEmpty() ? QString("%1 chamada(s)").arg(calls_.size()) : notice);
    } catch (const std::exception& e) {
        calls_.clear();
        status_->setText(qs("O histórico não pôde ser lido: " + std::string(e.what())));
        return;
    }
    table_->setRowCount(int(calls_.size()));
    for (std::size_t i = 0; i < calls_.size(); ++i) {
        const CallEntry& call = calls_[i];
        const int row = int(i);
        table_->setItem(row, 0, cell(call.startLocal, startShown(call.startLocal)));
        table_->setItem(row, 1, cell(call.operation));
        table_->setItem(row, 2, cell(call.answerCode));
        table_->setItem(row, 3, cell(std::string(outcomeName(call.outcome))));
        table_->setItem(row, 4, cell(std::to_string(call.duration.count() / 1000) + " ms"));
        table_->setItem(row, 5, cell(call.frontEnd + " " + call.accessMode));
    }
    if (!calls_.empty())
        table_->selectRow(0);
    selectionChanged();
}

std::vector<CallEntry> HistoryPage::selected() const {
    std::vector<CallEntry> chosen;
    for (int row = 0; row < table_->rowCount(); ++row)
        if (const QTableWidgetItem* item = table_->item(row, 0); item && item->isSelected())
            chosen.push_back(calls_[std::size_t(row)]);
    return chosen;
}

std::vector<CallEntry> HistoryPage::toExport() const {
    std::vector<CallEntry> chosen = selected();
    return chosen.size() > 1 ? chosen : calls_;
}

void HistoryPage::selectionChanged() {
    showDetails();
    const std::vector<CallEntry> chosen = selected();
    extrato_->setEnabled(chosen.size() == 1 && carriesIssuedDocument(chosen.front().operation));
    const std::size_t count = toExport().size();
    export_->setText(
        QString("Pacote de suporte (%1 %2)…").arg(count).arg(count == 1 ? "chamada" : "chamadas"));
    export_->setEnabled(count > 0);
}

void HistoryPage::showDetails() {
    details_->clear();
    const std::vector<CallEntry> chosen = selected();
    if (chosen.empty())
        return;
    QString text;
    for (const std::string& line : detailLines(chosen.front()))
        text += qs(line) + "\n";
    details_->setPlainText(text);
}

QString HistoryPage::exportSelected(const std::filesystem::path& zipFile) {
    const std::vector<CallEntry> chosen = toExport();
    if (chosen.empty())
        return "Nenhuma chamada a exportar.";
    std::filesystem::path target = zipFile;
    if (target.empty()) {
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        const QString name = ui::dialogs().saveFileName(
            this, "Exportar pacote de suporte", folder + "/pacote-suporte.zip", "Pacote (*.zip)");
        if (name.isEmpty())
            return {};
        target = core::pathFromUtf8(name.toStdString());
    }
    try {
        Journal journal(file_);
        const PackageContents contents = writeSupportPackage(journal, chosen, target);
        QString summary = QString("Pacote %1: %2 chamada(s), %3 arquivo(s).")
                              .arg(qs(core::utf8FromPath(target)))
                              .arg(contents.calls)
                              .arg(contents.files);
        if (!contents.leftOut.empty())
            summary += QString(" Fora do pacote: %1.").arg(qs(contents.leftOut.front())) +
                       (contents.leftOut.size() > 1
                            ? QString(" (e mais %1)").arg(contents.leftOut.size() - 1)
                            : QString());
        return summary;
    } catch (const std::exception& e) {
        return qs("O pacote não foi gravado: " + std::string(e.what()));
    }
}

} // namespace journal
