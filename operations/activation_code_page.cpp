#include "operations/activation_code_page.h"

#include "core/activation_code.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>

namespace operations {

ActivationCodePage::ActivationCodePage(const core::OperationDefinition& definition,
                                       ui::PageHost& host, QWidget* parent)
    : ui::OperationPage(definition, host, parent) {
    auto* form = new QFormLayout(parametersPanel());
    codigo_ = new QLineEdit;
    codigo_->setObjectName("EdtCodAtiv_" + QString::number(operation().page));
    codigo_->setMaxLength(32);
    form->addRow("Código de Ativação:", codigo_);
}

core::Inputs ActivationCodePage::inputs() const {
    core::Inputs in;
    in.set(core::codigoField.key, codigo_->text().toStdString());
    return in;
}

void ExtrairLogsPage::onExecuted(const core::Executed&) {
    answerBox()->moveCursor(QTextCursor::End);
    answerBox()->ensureCursorVisible();
    // Scrolled to the very end: with some fonts the cursor's line counts as in sight while the
    // last lines are still under the horizontal scroll bar.
    QScrollBar* vertical = answerBox()->verticalScrollBar();
    vertical->setValue(vertical->maximum());
}

} // namespace operations
