#include "operations/status_page.h"

#include "operations/status_report.h"

#include <QFormLayout>
#include <QLineEdit>

namespace operations {

StatusPage::StatusPage(const core::OperationDefinition& definition, ui::PageHost& host,
                       QWidget* parent)
    : ui::OperationPage(definition, host, parent) {
    auto* form = new QFormLayout(parametersPanel());
    codigo_ = new QLineEdit;
    codigo_->setObjectName("EdtCodAtiv_" + QString::number(operation().page));
    codigo_->setMaxLength(32);
    form->addRow("Código de Ativação:", codigo_);
}

core::Inputs StatusPage::inputs() const {
    core::Inputs in;
    in.set(codigoField.key, codigo_->text().toStdString());
    return in;
}

} // namespace operations
