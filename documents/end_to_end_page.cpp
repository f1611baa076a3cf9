#include "documents/end_to_end_page.h"

#include "documents/end_to_end.h"

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
}

core::Inputs EndToEndPage::inputs() const {
    core::Inputs in;
    in.set(core::codigoField.key, controls_.codigo->text().toStdString());
    in.set(testFileField.key, controls_.file->text().toStdString());
    return in;
}

// Both browser buttons show the CF-e of the last successful test, not the chosen file.
void EndToEndPage::BtnBrowserClick() {
    openInBrowser(endToEndAnswerFile(host().operationContext().programFolder));
}

void EndToEndPage::BtnValidarClick() {
    const auto context = host().operationContext();
    showValidation(commandBox(),
                   validarXmlFimAFim(chosenLayout(context.layout),
                                     controls_.file->text().toStdString(), context.programFolder));
}

void EndToEndPage::onExecuting() {
    controls_.naveg->setEnabled(false);
}

void EndToEndPage::onExecuted(const core::Executed&) {
    controls_.naveg->setEnabled(logic().writtenFiles && !logic().writtenFiles().empty());
}

} // namespace documents
