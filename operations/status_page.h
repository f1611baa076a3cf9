#pragma once

#include "ui/operation_page.h"

#include <functional>

class QLineEdit;

namespace operations {

// Pages 5 and 15: the two status queries, with the activation code as their one parameter.
class StatusPage : public ui::OperationPage {
    Q_OBJECT
public:
    using Report = std::function<core::Lines(std::string_view answer)>;
    StatusPage(const core::Operation& operation, ui::PageHost& host, Report report,
               QWidget* parent = nullptr);

protected:
    core::Lines analysis() override;
    Call prepareCall(const std::string& sessionNumber) override;
    core::Lines report(std::string_view answer) override;

private:
    struct StatusInputs inputs() const;

    QLineEdit* codigo_ = nullptr;
    Report report_;
};

} // namespace operations
