#include "operations/status_page.h"

#include "operations/status_report.h"

#include <QFormLayout>
#include <QLineEdit>

namespace operations {

StatusPage::StatusPage(const core::Operation& operation, ui::PageHost& host, Report report,
                       QWidget* parent)
    : ui::OperationPage(operation, host, parent), report_(std::move(report)) {
    auto* form = new QFormLayout(parametersPanel());
    codigo_ = new QLineEdit;
    codigo_->setObjectName("EdtCodAtiv_" + QString::number(operation.page));
    codigo_->setMaxLength(32);
    form->addRow("Código de Ativação:", codigo_);
}

StatusInputs StatusPage::inputs() const {
    return {codigo_->text().toStdString()};
}

core::Lines StatusPage::analysis() {
    return operations::analyse(inputs());
}

ui::OperationPage::Call StatusPage::prepareCall(const std::string& sessionNumber) {
    return statusCall(operation(), sessionNumber, inputs());
}

core::Lines StatusPage::report(std::string_view answer) {
    return report_(answer);
}

} // namespace operations
