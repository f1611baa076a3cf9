#include "operations/trocar_codigo_page.h"

#include "operations/page_controls.h"
#include "operations/trocar_codigo.h"
#include "ui/qt_text.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace operations {
namespace {

QLineEdit* codeEdit(const QString& name) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setMaxLength(32);
    return edit;
}

} // namespace

TrocarCodigoPage::TrocarCodigoPage(const core::OperationDefinition& definition, ui::PageHost& host,
                                   QWidget* parent)
    : ui::OperationPage(definition, host, parent) {
    auto* form = new QFormLayout(parametersPanel());
    codigoLabel_ = namedLabel(ui::qs(codeLabel(false)), "LblCodAtual");
    codigo_ = codeEdit("EdtCodAtual");
    form->addRow(codigoLabel_, codigo_);
    novo_ = codeEdit("EdtNovoCodigo");
    form->addRow("Novo Código de Ativação:", novo_);
    confirmacao_ = codeEdit("EdtNovoCodigo2");
    form->addRow("Redigite Novo Código:", confirmacao_);
    emergencia_ = new QCheckBox("Usar Código de emergência");
    emergencia_->setObjectName("CheckEmergencia");
    form->addRow(emergencia_);
    connect(emergencia_, &QCheckBox::toggled, this, &TrocarCodigoPage::CheckEmergenciaClick);
}

void TrocarCodigoPage::CheckEmergenciaClick() {
    codigoLabel_->setText(ui::qs(codeLabel(emergencia_->isChecked())));
}

core::Inputs TrocarCodigoPage::inputs() const {
    core::Inputs in;
    in.set(codigoAtualField.key, codigo_->text().toStdString());
    in.set(novoCodigoField.key, novo_->text().toStdString());
    in.set(confirmacaoField.key, confirmacao_->text().toStdString());
    in.set(emergenciaField.key, emergencia_->isChecked() ? "1" : "");
    return in;
}

} // namespace operations
