#include "ui/pending_page.h"

#include <QPushButton>
#include <stdexcept>

namespace ui {

PendingPage::PendingPage(const core::Operation& operation, PageHost& host, QWidget* parent)
    : OperationPage(operation, host, parent) {
    const QString n = QString::number(operation.page);
    for (const QString& name : {"BtnMostra_" + n, "BtnAnalisa_" + n})
        if (auto* button = findChild<QPushButton*>(name))
            button->setEnabled(false);
}

OperationPage::Call PendingPage::prepareCall(const std::string&) {
    throw std::logic_error(std::string(operation().name) + ": página ainda não disponível.");
}

} // namespace ui
