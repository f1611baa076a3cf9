#pragma once

#include "ui/operation_page.h"

class QLineEdit;

namespace operations {

// Page 10: the activation code and the session to query, which page entry fills with the
// session number of the last call sent to the module.
class ConsultarNumeroSessaoPage : public ui::OperationPage {
    Q_OBJECT
public:
    ConsultarNumeroSessaoPage(const core::OperationDefinition& definition, ui::PageHost& host,
                              QWidget* parent = nullptr);

protected:
    core::Inputs inputs() const override;
    void onEnter() override;

private:
    QLineEdit* codigo_ = nullptr;
    QLineEdit* sessao_ = nullptr;
};

} // namespace operations
