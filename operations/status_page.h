#pragma once

#include "ui/operation_page.h"

class QLineEdit;

namespace operations {

// Pages 5 and 15: the two status queries, with the activation code as their one parameter.
class StatusPage : public ui::OperationPage {
    Q_OBJECT
public:
    StatusPage(const core::OperationDefinition& definition, ui::PageHost& host,
               QWidget* parent = nullptr);

protected:
    core::Inputs inputs() const override;

private:
    QLineEdit* codigo_ = nullptr;
};

} // namespace operations
