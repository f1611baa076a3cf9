#include "documents/cancel_last_sale_page.h"

#include "core/path_text.h"
#include "core/text.h"
#include "documents/cancel_last_sale.h"
#include "documents/cancellation_request.h"
#include "documents/document_file.h"
#include "documents/document_page_parts.h"
#include "documents/validate_buttons.h"
#include "receipt/cancelled_sale.h"
#ifdef TARVIK_RECEIPT_DRAWING
#include "receipt/receipt_preview_page.h"
#endif
#include "ui/dialogs.h"
#include "ui/qt_text.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>

namespace documents {
namespace {

QPushButton* button(const QString& name, const QString& caption, bool enabled = false) {
    auto* b = new QPushButton(caption);
    b->setObjectName(name);
    b->setEnabled(enabled);
    return b;
}

} // namespace

CancelLastSalePage::CancelLastSalePage(const core::OperationDefinition& definition,
                                       ui::PageHost& host, QWidget* parent)
    : ui::OperationPage(definition, host, parent) {
    auto* grid = new QGridLayout(parametersPanel());
    codigo_ = new QLineEdit;
    codigo_->setObjectName("EdtCodAtiv_9");
    codigo_->setMaxLength(32);
    grid->addWidget(new QLabel("Código de Ativação:"), 0, 0);
    grid->addWidget(codigo_, 0, 1);

    checkCFe_ = new QCheckBox("Cancelamento usando XML do CFe emitido");
    checkCFe_->setObjectName("CheckCFe");
    grid->addWidget(checkCFe_, 1, 1);

    xmlLabel_ = new QLabel("XML do CFeCanc.:");
    xml_ = new QLineEdit;
    xml_->setObjectName("EdtXml_9");
    xmlLabel_->setBuddy(xml_);
    limitTyping(xml_, 32);
    grid->addWidget(xmlLabel_, 2, 0);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(xml_, 1);
    auto* choose = button("BtnEscolhe_9", "...", true);
    browser_ = button("BtnBrowser_9", "Abrir no Browser");
    validate_ = button("BtnValida_9", "Validar xml");
    for (QPushButton* b : {choose, browser_, validate_})
        fileRow->addWidget(b);
    grid->addLayout(fileRow, 2, 1);

    auto* generateRow = new QHBoxLayout;
    generate_ = button("BtnGeraCanc_9", "Gerar CFeCanc.");
    keyLabel_ = new QLabel;
    keyLabel_->setObjectName("LblchCanc");
    keyLabel_->setStyleSheet("color: green;");
    keyLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    keyLabel_->hide();
    browserCanc_ = button("BtnBrowserCanc_9", "Abrir CFeCanc. no Browser");
    generateRow->addWidget(generate_);
    generateRow->addWidget(keyLabel_, 1);
    generateRow->addWidget(browserCanc_);
    grid->addLayout(generateRow, 3, 1);
    buildAnswerBar();

    connect(checkCFe_, &QCheckBox::toggled, this,
            [this] { this->host().guarded([this] { CheckCFeClick(); }); });
    connect(xml_, &QLineEdit::textChanged, this,
            [this] { this->host().guarded([this] { EdtXml_9Change(); }); });
    const std::pair<QPushButton*, void (CancelLastSalePage::*)()> actions[] = {
        {choose, &CancelLastSalePage::BtnEscolhe_9Click},
        {browser_, &CancelLastSalePage::BtnBrowser_9Click},
        {validate_, &CancelLastSalePage::BtnValida_9Click},
        {generate_, &CancelLastSalePage::BtnGeraCanc_9Click},
        {browserCanc_, &CancelLastSalePage::BtnBrowserCanc_9Click},
        {naveg_, &CancelLastSalePage::BtnNaveg_9Click},
    };
    for (const auto& [b, action] : actions)
        connect(b, &QPushButton::clicked, this,
                [this, action] { this->host().guarded([this, action] { (this->*action)(); }); });
}

// "Abrir no Browser" and, with the receipt drawing, "Extrato" in a bar above the answer box.
void CancelLastSalePage::buildAnswerBar() {
    naveg_ = button("BtnNaveg_9", "Abrir no Browser");
    auto* bar = answerBar(answerBox());
    bar->addWidget(naveg_);
#ifdef TARVIK_RECEIPT_DRAWING
    extrato_ = button("BtnExtrato_9", "Extrato", true);
    extrato_->setToolTip("O extrato do documento desta chamada; sem ele, de um XML escolhido");
    bar->addWidget(extrato_);
    connect(extrato_, &QPushButton::clicked, this,
            [this] { this->host().guarded([this] { BtnExtrato_9Click(); }); });
#endif
    bar->addStretch();
}

std::filesystem::path CancelLastSalePage::programFolder() const {
    return host().operationContext().programFolder;
}

bool CancelLastSalePage::issuedMode() const {
    return checkCFe_->isChecked();
}

core::Inputs CancelLastSalePage::inputs() const {
    core::Inputs in;
    in.set(core::codigoField.key, codigo_->text().toStdString());
    in.set(issuedMode() ? issuedCFeField.key : cancelFileField.key, xml_->text().toStdString());
    in.set(generatedByButtonKey, "1");
    return in;
}

void CancelLastSalePage::CheckCFeClick() {
    xmlLabel_->setText(issuedMode() ? "CFe Emitido:" : "XML de Cancelam.:");
    xml_->clear();
    keyLabel_->hide();
}

void CancelLastSalePage::EdtXml_9Change() {
    const bool exists = isExistingFile(xml_->text().toStdString());
    browser_->setEnabled(exists);
    validate_->setEnabled(exists);
    browserCanc_->setEnabled(false);
    generate_->setEnabled(exists && issuedMode());
    if (!exists)
        return;
    if (issuedMode())
        removeGeneratedCancellation(xml_->text().toStdString(), programFolder());
    else
        keyLabel_->hide();
}

void CancelLastSalePage::BtnEscolhe_9Click() {
    chooseXmlFile(this, xml_);
}

void CancelLastSalePage::BtnBrowser_9Click() {
    openInBrowser(this, core::pathFromUtf8(core::trimmed(xml_->text().toStdString())));
}

void CancelLastSalePage::BtnValida_9Click() {
    const auto context = host().operationContext();
    showValidation(commandBox(),
                   validarXmlCancelamento(chosenLayout(context.layout), issuedMode(),
                                          xml_->text().toStdString(), context.programFolder));
}

void CancelLastSalePage::BtnGeraCanc_9Click() {
    browserCanc_->setEnabled(false);
    const GeneratedCancellation generated =
        generateFromIssuedCFe(xml_->text().toStdString(),
                              chosenLayout(host().operationContext().layout), programFolder());
    generatedFile_ = generated.file;
    ui::dialogs().message(this, ui::qs(generated.message));
    browserCanc_->setEnabled(true);
    keyLabel_->setText(ui::qs(generated.key));
    keyLabel_->setVisible(!generated.key.empty());
}

void CancelLastSalePage::BtnBrowserCanc_9Click() {
    openInBrowser(this, generatedFile_);
}

void CancelLastSalePage::BtnNaveg_9Click() {
    openInBrowser(this, returnedFile_);
}

// The cancellation's receipt needs the sale's CF-e: the issued CF-e the cancellation was made
// from, or the sale's answer in Retornos named after a generated request (C_x.xml, Canc_x.xml
// for Resp_x.xml); failing those, the user chooses it.
// Without a cancellation saved in this run the receipt is of a chosen file.
#ifdef TARVIK_RECEIPT_DRAWING
void CancelLastSalePage::BtnExtrato_9Click() {
    if (returnedFile_.empty()) {
        receipt::ReceiptPreviewPage::showChosenFile(this, programFolder() / "Retornos");
        return;
    }
    std::vector<std::filesystem::path> candidates;
    if (!saleFile_.empty())
        candidates.push_back(saleFile_);
    std::string name = core::utf8FromPath(requestFile_.filename());
    for (std::string_view prefix : {"C_", "Canc_"}) {
        if (name.starts_with(prefix))
            name.erase(0, prefix.size());
    }
    candidates.push_back(programFolder() / "Retornos" / core::pathFromUtf8("Resp_" + name));
    auto sale = receipt::cancelledSaleFile(returnedFile_, candidates);
    if (!sale) {
        const QString chosen = ui::dialogs().openFileName(
            this, "Selecione o CF-e da venda cancelada",
            ui::qs(core::utf8FromPath(programFolder() / "Retornos")), "Arquivos XML (*.xml)");
        if (chosen.isEmpty())
            return;
        sale = core::pathFromUtf8(chosen.toStdString());
    }
    receipt::ReceiptPreviewPage::show(this, {*sale, returnedFile_});
}
#endif

void CancelLastSalePage::onExecuting() {
    naveg_->setEnabled(false);
    returnedFile_.clear();
}

void CancelLastSalePage::onExecuted(const core::Executed&) {
    const auto written = logic().writtenFiles();
    const std::string target =
        core::utf8FromPath(returnedCancellationFile(xml_->text().toStdString(), programFolder()));
    if (std::find(written.begin(), written.end(), target) == written.end())
        return;
    returnedFile_ = core::pathFromUtf8(target);
    requestFile_ = core::pathFromUtf8(core::trimmed(xml_->text().toStdString()));
    saleFile_ = issuedMode() ? requestFile_ : std::filesystem::path();
    naveg_->setEnabled(true);
}

} // namespace documents
