#include "documents/sale_page.h"

#include "core/path_text.h"
#include "core/text.h"
#include "documents/cancellation_request.h"
#include "documents/document_page_parts.h"
#include "documents/sale.h"
#ifdef TARVIK_RECEIPT_DRAWING
#include "receipt/receipt_preview_page.h"
#endif
#include "ui/dialogs.h"
#include "ui/qt_text.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace documents {

SalePage::SalePage(const core::OperationDefinition& definition, ui::PageHost& host, QWidget* parent)
    : ui::OperationPage(definition, host, parent),
      controls_(buildDocumentControls(
          {"EdtCodAtiv_8", "EdtCFe", "BtnEscolhe_8", "BtnBrowser_8", "BtnValida_8", "BtnNaveg_8"},
          parametersPanel(), answerBox())) {
    connect(controls_.browser, &QPushButton::clicked, this, &SalePage::BtnBrowser_8Click);
    connect(controls_.valida, &QPushButton::clicked, this,
            [this] { this->host().guarded([this] { BtnValida_8Click(); }); });
    connect(controls_.naveg, &QPushButton::clicked, this, &SalePage::BtnNaveg_8Click);

    geraXmlCanc_ = new QPushButton("Gerar XML para Cancelamento");
    geraXmlCanc_->setObjectName("BtnGeraXmlCanc_8");
    geraXmlCanc_->setEnabled(false);
    controls_.answerBar->insertWidget(1, geraXmlCanc_);
    connect(geraXmlCanc_, &QPushButton::clicked, this,
            [this] { this->host().guarded([this] { BtnGeraXmlCanc_8Click(); }); });

#ifdef TARVIK_RECEIPT_DRAWING
    extrato_ = new QPushButton("Extrato");
    extrato_->setObjectName("BtnExtrato_8");
    extrato_->setToolTip("O extrato do documento desta chamada; sem ele, de um XML escolhido");
    controls_.answerBar->insertWidget(2, extrato_);
    connect(extrato_, &QPushButton::clicked, this,
            [this] { this->host().guarded([this] { BtnExtrato_8Click(); }); });
#endif
}

core::Inputs SalePage::inputs() const {
    core::Inputs in;
    in.set(core::codigoField.key, controls_.codigo->text().toStdString());
    in.set(cfeFileField.key, controls_.file->text().toStdString());
    return in;
}

void SalePage::BtnBrowser_8Click() {
    openInBrowser(this, core::pathFromUtf8(core::trimmed(controls_.file->text().toStdString())));
}

void SalePage::BtnValida_8Click() {
    const auto context = host().operationContext();
    showValidation(commandBox(),
                   validarXmlVenda(chosenLayout(context.layout),
                                   controls_.file->text().toStdString(), context.programFolder));
}

void SalePage::BtnNaveg_8Click() {
    openInBrowser(this, savedFile_);
}

// From the issued CF-e as it was saved, named after the sale file of that sale: the field may
// name another file since.
void SalePage::BtnGeraXmlCanc_8Click() {
    const auto context = host().operationContext();
    const GeneratedCancellation generated =
        generateAfterSale(savedFile_, saleFileNameOf(core::utf8FromPath(savedFile_.filename())),
                          chosenLayout(context.layout), context.programFolder);
    ui::dialogs().message(this, ui::qs(generated.message));
}

#ifdef TARVIK_RECEIPT_DRAWING
// Without a sale in this run (after a restart, or a failed sale) the receipt is of a chosen file.
void SalePage::BtnExtrato_8Click() {
    if (savedFile_.empty())
        receipt::ReceiptPreviewPage::showChosenFile(this, host().operationContext().programFolder /
                                                              "Retornos");
    else
        receipt::ReceiptPreviewPage::show(this, {savedFile_, std::nullopt});
}
#endif

void SalePage::onExecuting() {
    controls_.naveg->setEnabled(false);
    geraXmlCanc_->setEnabled(false);
    savedFile_.clear();
}

void SalePage::onExecuted(const core::Executed&) {
    const auto written = logic().writtenFiles ? logic().writtenFiles() : std::vector<std::string>{};
    if (written.empty())
        return;
    savedFile_ = core::pathFromUtf8(written.front());
    controls_.naveg->setEnabled(true);
    geraXmlCanc_->setEnabled(true);
}

} // namespace documents
