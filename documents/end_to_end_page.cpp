#include "documents/end_to_end_page.h"

#include "documents/end_to_end.h"
#ifdef TARVIK_RECEIPT_DRAWING
#include "receipt/receipt_preview_page.h"
#endif

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace documents {

EndToEndPage::EndToEndPage(const core::OperationDefinition& definition, ui::PageHost& host,
                           QWidget* parent)
    : ui::OperationPage(definition, host, parent),
      controls_(buildDocumentControls(
          {"EdtCodAtiv_4", "EdtCFeTeste", "BtnEscolhe_4", "BtnBrowser", "BtnValidar", "BtnNaveg_4"},
          parametersPanel(), answerBox())) {
    connect(controls_.browser, &QPushButton::clicked, this, &EndToEndPage::BtnBrowserClick);
    connect(controls_.naveg, &QPushButton::clicked, this, &EndToEndPage::BtnBrowserClick);
    connect(controls_.valida, &QPushButton::clicked, this,
            [this] { this->host().guarded([this] { BtnValidarClick(); }); });

#ifdef TARVIK_RECEIPT_DRAWING
    extrato_ = new QPushButton("Extrato");
    extrato_->setObjectName("BtnExtrato_4");
    extrato_->setToolTip("O extrato do documento desta chamada; sem ele, de um XML escolhido");
    controls_.answerBar->insertWidget(1, extrato_);
    connect(extrato_, &QPushButton::clicked, this,
            [this] { this->host().guarded([this] { BtnExtrato_4Click(); }); });
#endif
}

core::Inputs EndToEndPage::inputs() const {
    core::Inputs in;
    in.set(core::codigoField.key, controls_.codigo->text().toStdString());
    in.set(testFileField.key, controls_.file->text().toStdString());
    return in;
}

// Both browser buttons show the CF-e of the last successful test, not the chosen file.
void EndToEndPage::BtnBrowserClick() {
    openInBrowser(this, endToEndAnswerFile(host().operationContext().programFolder));
}

void EndToEndPage::BtnValidarClick() {
    const auto context = host().operationContext();
    showValidation(commandBox(),
                   validarXmlFimAFim(chosenLayout(context.layout),
                                     controls_.file->text().toStdString(), context.programFolder));
}

#ifdef TARVIK_RECEIPT_DRAWING
// Without a test saved in this run the receipt is of a chosen file: the CF-e left by an earlier
// test may be another module's.
void EndToEndPage::BtnExtrato_4Click() {
    const auto answer = endToEndAnswerFile(host().operationContext().programFolder);
    if (tested_)
        receipt::ReceiptPreviewPage::show(this, {answer, std::nullopt});
    else
        receipt::ReceiptPreviewPage::showChosenFile(this, answer.parent_path());
}
#endif

void EndToEndPage::onExecuting() {
    controls_.naveg->setEnabled(false);
    tested_ = false;
}

void EndToEndPage::onExecuted(const core::Executed&) {
    const bool saved = logic().writtenFiles && !logic().writtenFiles().empty();
    controls_.naveg->setEnabled(saved);
    tested_ = saved;
}

} // namespace documents
