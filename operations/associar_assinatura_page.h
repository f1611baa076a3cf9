#pragma once

#include "ui/operation_page.h"

class QLineEdit;
class QPlainTextEdit;

namespace operations {

// Page 3: the activation code, the software house's and the taxpayer's CNPJ, the signature.
class AssociarAssinaturaPage : public ui::OperationPage {
    Q_OBJECT
public:
    AssociarAssinaturaPage(const core::OperationDefinition& definition, ui::PageHost& host,
                           QWidget* parent = nullptr);

protected:
    core::Inputs inputs() const override;

private:
    QLineEdit* codigo_ = nullptr;
    QLineEdit* cnpjSoftwareHouse_ = nullptr;
    QLineEdit* cnpjContribuinte_ = nullptr;
    QPlainTextEdit* assinatura_ = nullptr;
};

} // namespace operations
