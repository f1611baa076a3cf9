#pragma once

#include "ui/operation_page.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace operations {

// Page 6: the current (or emergency) code, the new code twice, the emergency check box.
class TrocarCodigoPage : public ui::OperationPage {
    Q_OBJECT
public:
    TrocarCodigoPage(const core::OperationDefinition& definition, ui::PageHost& host,
                     QWidget* parent = nullptr);

protected:
    core::Inputs inputs() const override;

private:
    void CheckEmergenciaClick();

    QLabel* codigoLabel_ = nullptr;
    QLineEdit* codigo_ = nullptr;
    QLineEdit* novo_ = nullptr;
    QLineEdit* confirmacao_ = nullptr;
    QCheckBox* emergencia_ = nullptr;
};

} // namespace operations
