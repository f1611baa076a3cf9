#include "operations/associar_assinatura_page.h"

#include "operations/associar_assinatura.h"
#include "operations/page_controls.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace operations {
AssociarAssinaturaPage::AssociarAssinaturaPage(const core::OperationDefinition& definition,
                                               ui::PageHost& host, QWidget* parent)
    : ui::OperationPage(definition, host, parent) {
    auto* form = new QFormLayout(parametersPanel());
    codigo_ = new QLineEdit;
    codigo_->setObjectName("EdtCodAtiv3");
    form->addRow("Código de Ativação:", codigo_);
    cnpjSoftwareHouse_ = makeCnpjEdit("EdtCNPJSw");
    form->addRow(namedLabel("CNPJ Software House:", "LblCNPJ_SH_3"), cnpjSoftwareHouse_);
    cnpjContribuinte_ = makeCnpjEdit("EdtCNPJContrib2");
    form->addRow(namedLabel("CNPJ do Contribuinte:", "LblCNPJ_Contr_3"), cnpjContribuinte_);
    assinatura_ = new QPlainTextEdit;
    assinatura_->setObjectName("MemoSign");
    assinatura_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    assinatura_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    assinatura_->setLineWrapMode(QPlainTextEdit::NoWrap);
    form->addRow(namedLabel("Assinatura do Aplicativo Comercial:", "LblSign_3"), assinatura_);
}

core::Inputs AssociarAssinaturaPage::inputs() const {
    core::Inputs in;
    in.set(core::codigoField.key, codigo_->text().toStdString());
    in.set(cnpjSoftwareHouseField.key, cnpjValue(cnpjSoftwareHouse_));
    in.set(cnpjContribuinte2Field.key, cnpjValue(cnpjContribuinte_));
    // The memo's line breaks are LF; the analysis counts each as the two characters of CR LF.
    in.set(assinaturaField.key, assinatura_->toPlainText().toStdString());
    return in;
}

} // namespace operations
