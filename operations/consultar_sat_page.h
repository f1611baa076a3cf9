#pragma once

#include "ui/operation_page.h"

namespace operations {

// Page 0: no parameters, no analysis, no report.
class ConsultarSatPage : public ui::OperationPage {
    Q_OBJECT
public:
    ConsultarSatPage(ui::PageHost& host, QWidget* parent = nullptr);

protected:
    Call prepareCall(const std::string& sessionNumber) override;
};

} // namespace operations
