#include "operations/consultar_numero_sessao_page.h"

#include "operations/consultar_numero_sessao.h"
#include "ui/qt_text.h"

#include <QFormLayout>
#include <QLineEdit>

namespace operations {

ConsultarNumeroSessaoPage::ConsultarNumeroSessaoPage(const core::OperationDefinition& definition,
                                                     ui::PageHost& host, QWidget* parent)
    : ui::OperationPage(definition, host, parent) {
    auto* form = new QFormLayout(parametersPanel());
    codigo_ = new QLineEdit;
    codigo_->setObjectName("EdtCodAtiv_10");
    codigo_->setMaxLength(32);
    form->addRow("Código de Ativação:", codigo_);
    sessao_ = new QLineEdit;
    sessao_->setObjectName("EdtSessao");
    sessao_->setMaxLength(32);
    form->addRow("Sessão a Consultar:", sessao_);
}

// A call that timed out is recovered by asking for its session: the last one actually sent.
void ConsultarNumeroSessaoPage::onEnter() {
    sessao_->setText(ui::qs(host().state().sentSessionNumber));
}

core::Inputs ConsultarNumeroSessaoPage::inputs() const {
    core::Inputs in;
    in.set(core::codigoField.key, codigo_->text().toStdString());
    in.set(sessaoField.key, sessao_->text().toStdString());
    return in;
}

} // namespace operations
