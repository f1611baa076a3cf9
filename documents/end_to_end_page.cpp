#include "documents/end_to_end_page.h"

#include "documents/document_file.h"
#include "documents/document_page_parts.h"
#include "documents/end_to_end.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace documents {

EndToEndPage::EndToEndPage(const core::OperationDefinition& definition, ui::PageHost& host,
                           QWidget* parent)
    : ui::OperationPage(definition, host, parent) {
    auto* form = new QFormLayout(parametersPanel());
    codigo_ = new QLineEdit;
    codigo_->setObjectName("EdtCodAtiv_4");
    codigo_->setMaxLength(32);
    form->addRow("Código de Ativação:", codigo_);

    cfeTeste_ = new QLineEdit;
    cfeTeste_->setObjectName("EdtCFeTeste");
    limitTyping(cfeTeste_, 32);
    auto* escolhe = new QPushButton("...");
    escolhe->setObjectName("BtnEscolhe_4");
    browser_ = new QPushButton("Abrir no Browser");
    browser_->setObjectName("BtnBrowser");
    validar_ = new QPushButton("Validar xml");
    validar_->setObjectName("BtnValidar");
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(cfeTeste_, 1);
    fileRow->addWidget(escolhe);
    fileRow->addWidget(browser_);
    fileRow->addWidget(validar_);
    form->addRow("CFe a Transmitir:", fileRow);

    naveg_ = new QPushButton("Abrir no Browser");
    naveg_->setObjectName("BtnNaveg_4");
    auto* bar = answerBar(answerBox());
    bar->addWidget(naveg_);
    bar->addStretch();

    browser_->setEnabled(false);
    validar_->setEnabled(false);
    naveg_->setEnabled(false);
    connect(cfeTeste_, &QLineEdit::textChanged, this, &EndToEndPage::EdtCFeTesteChange);
    connect(escolhe, &QPushButton::clicked, this, [this] { chooseXmlFile(this, cfeTeste_); });
    connect(browser_, &QPushButton::clicked, this, &EndToEndPage::BtnBrowserClick);
    connect(naveg_, &QPushButton::clicked, this, &EndToEndPage::BtnBrowserClick);
    connect(validar_, &QPushButton::clicked, this,
            [this] { this->host().guarded([this] { BtnValidarClick(); }); });
}

core::Inputs EndToEndPage::inputs() const {
    core::Inputs in;
    in.set(operations::codigoField.key, codigo_->text().toStdString());
    in.set(testFileField.key, cfeTeste_->text().toStdString());
    return in;
}

void EndToEndPage::EdtCFeTesteChange() {
    const bool exists = isExistingFile(cfeTeste_->text().toStdString());
    validar_->setEnabled(exists);
    browser_->setEnabled(exists);
}

// Both browser buttons show the CF-e of the last successful test, not the chosen file.
void EndToEndPage::BtnBrowserClick() {
    openInBrowser(endToEndAnswerFile(host().operationContext().programFolder));
}

void EndToEndPage::BtnValidarClick() {
    const auto context = host().operationContext();
    showValidation(commandBox(),
                   validarXmlFimAFim(chosenLayout(context.layout), cfeTeste_->text().toStdString(),
                                     context.programFolder));
}

void EndToEndPage::onExecuting() {
    naveg_->setEnabled(false);
}

void EndToEndPage::onExecuted(const core::Executed&) {
    naveg_->setEnabled(logic().writtenFiles && !logic().writtenFiles().empty());
}

} // namespace documents
