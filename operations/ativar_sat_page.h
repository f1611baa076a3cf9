#pragma once

#include "ui/operation_page.h"

class QComboBox;
class QLineEdit;

namespace operations {

// Page 2: the certificate type (shown only), the activation code, the taxpayer's CNPJ and UF.
class AtivarSatPage : public ui::OperationPage {
    Q_OBJECT
public:
    AtivarSatPage(const core::OperationDefinition& definition, ui::PageHost& host,
                  QWidget* parent = nullptr);

protected:
    core::Inputs inputs() const override;

private:
    QLineEdit* codigo_ = nullptr;
    QLineEdit* cnpj_ = nullptr;
    QComboBox* uf_ = nullptr;
};

// Window creation: fills the UF list `cboUF` with the UF table, in table order, and selects
// "CE". Does nothing when there is no list.
void fillUfList(QComboBox* list);

} // namespace operations
