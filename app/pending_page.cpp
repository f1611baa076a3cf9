#include "app/pending_page.h"

#include <QPushButton>
#include <stdexcept>

namespace app {

PendingPage::PendingPage(const core::Operation& operation, core::PageHost& host, QWidget* parent)
    : core::OperationPage(operation, host, parent) {
    const QString n = QString::number(operation.page);
    for (const QString& name : {"BtnMostra_" + n, "BtnAnalisa_" + n})
        if (auto* button = findChild<QPushButton*>(name))
            button->setEnabled(false);
}

core::OperationPage::Call PendingPage::prepareCall(const std::string&) {
    throw std::logic_error(std::string(operation().name) + ": página ainda não disponível.");
}

} // namespace app
