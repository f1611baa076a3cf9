#include "ui/pending_page.h"

#include <QPushButton>

namespace ui {

PendingPage::PendingPage(const core::Operation& operation, PageHost& host, QWidget* parent)
    : OperationPage(operation, nullptr, host, parent) {
    const QString n = QString::number(operation.page);
    for (const QString& name : {"BtnMostra_" + n, "BtnAnalisa_" + n})
        if (auto* button = findChild<QPushButton*>(name))
            button->setEnabled(false);
}

} // namespace ui
