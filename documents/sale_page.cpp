#include "documents/sale_page.h"

#include "core/text.h"
#include "documents/cancellation_request.h"
#include "documents/document_file.h"
#include "documents/document_page_parts.h"
#include "documents/path_text.h"
#include "documents/sale.h"
#include "ui/dialogs.h"
#include "ui/qt_text.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace documents {

SalePage::SalePage(const core::OperationDefinition& definition, ui::PageHost& host, QWidget* parent)
    : ui::OperationPage(definition, host, parent) {
    auto* form = new QFormLayout(parametersPanel());
    codigo_ = new QLineEdit;
    codigo_->setObjectName("EdtCodAtiv_8");
    codigo_->setMaxLength(32);
    form->addRow("Código de Ativação:", codigo_);

    cfe_ = new QLineEdit;
    cfe_->setObjectName("EdtCFe");
    limitTyping(cfe_, 32);
    auto* escolhe = new QPushButton("...");
    escolhe->setObjectName("BtnEscolhe_8");
    browser_ = new QPushButton("Abrir no Browser");
    browser_->setObjectName("BtnBrowser_8");
    valida_ = new QPushButton("Validar xml");
    valida_->setObjectName("BtnValida_8");
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(cfe_, 1);
    fileRow->addWidget(escolhe);
    fileRow->addWidget(browser_);
    fileRow->addWidget(valida_);
    form->addRow("CFe a Transmitir:", fileRow);

    naveg_ = new QPushButton("Abrir no Browser");
    naveg_->setObjectName("BtnNaveg_8");
    geraXmlCanc_ = new QPushButton("Gerar XML para Cancelamento");
    geraXmlCanc_->setObjectName("BtnGeraXmlCanc_8");
    auto* bar = answerBar(answerBox());
    bar->addWidget(naveg_);
    bar->addWidget(geraXmlCanc_);
    bar->addStretch();

    browser_->setEnabled(false);
    valida_->setEnabled(false);
    naveg_->setEnabled(false);
    geraXmlCanc_->setEnabled(false);
    connect(cfe_, &QLineEdit::textChanged, this, &SalePage::EdtCFeChange);
    connect(escolhe, &QPushButton::clicked, this, [this] { chooseXmlFile(this, cfe_); });
    connect(browser_, &QPushButton::clicked, this, &SalePage::BtnBrowser_8Click);
    connect(valida_, &QPushButton::clicked, this,
            [this] { this->host().guarded([this] { BtnValida_8Click(); }); });
    connect(naveg_, &QPushButton::clicked, this, &SalePage::BtnNaveg_8Click);
    connect(geraXmlCanc_, &QPushButton::clicked, this,
            [this] { this->host().guarded([this] { BtnGeraXmlCanc_8Click(); }); });
}

core::Inputs SalePage::inputs() const {
    core::Inputs in;
    in.set(operations::codigoField.key, codigo_->text().toStdString());
    in.set(cfeFileField.key, cfe_->text().toStdString());
    return in;
}

void SalePage::EdtCFeChange() {
    const bool exists = isExistingFile(cfe_->text().toStdString());
    valida_->setEnabled(exists);
    browser_->setEnabled(exists);
}

void SalePage::BtnBrowser_8Click() {
    openInBrowser(pathFromUtf8(core::trimmed(cfe_->text().toStdString())));
}

void SalePage::BtnValida_8Click() {
    const auto context = host().operationContext();
    showValidation(commandBox(),
                   validarXmlVenda(chosenLayout(context.layout), cfe_->text().toStdString(),
                                   context.programFolder));
}

void SalePage::BtnNaveg_8Click() {
    openInBrowser(savedFile_);
}

// From the issued CF-e as it was saved, named after the sale file of that sale: the field may
// name another file since.
void SalePage::BtnGeraXmlCanc_8Click() {
    const auto context = host().operationContext();
    const std::string savedName = utf8FromPath(savedFile_.filename()); // "Resp_" + the sale's
    const GeneratedCancellation generated =
        generateAfterSale(savedFile_, savedName.substr(std::string_view("Resp_").size()),
                          chosenLayout(context.layout), context.programFolder);
    ui::dialogs().message(this, ui::qs(generated.message));
}

void SalePage::onExecuting() {
    naveg_->setEnabled(false);
    geraXmlCanc_->setEnabled(false);
}

void SalePage::onExecuted(const core::Executed&) {
    const auto written = logic().writtenFiles ? logic().writtenFiles() : std::vector<std::string>{};
    if (written.empty())
        return;
    savedFile_ = pathFromUtf8(written.front());
    naveg_->setEnabled(true);
    geraXmlCanc_->setEnabled(true);
}

} // namespace documents
