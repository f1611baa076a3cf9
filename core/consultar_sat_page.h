#pragma once

#include "core/operation_page.h"

namespace core {

// Page 0: no parameters, no analysis, no report.
class ConsultarSatPage : public OperationPage {
    Q_OBJECT
public:
    ConsultarSatPage(PageHost& host, QWidget* parent = nullptr);

protected:
    Call prepareCall(const std::string& sessionNumber) override;
};

} // namespace core
