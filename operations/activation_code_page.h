#pragma once

#include "ui/operation_page.h"

class QLineEdit;

namespace operations {

// The pages whose one parameter is the activation code: the status queries (5, 15), the log
// extraction (7), blocking (11), unblocking (12) and the software update (13).
class ActivationCodePage : public ui::OperationPage {
    Q_OBJECT
public:
    ActivationCodePage(const core::OperationDefinition& definition, ui::PageHost& host,
                       QWidget* parent = nullptr);

protected:
    core::Inputs inputs() const override;

private:
    QLineEdit* codigo_ = nullptr;
};

// Page 7: after "Executar" the answer box shows the end of the log just added.
class ExtrairLogsPage : public ActivationCodePage {
    Q_OBJECT
public:
    using ActivationCodePage::ActivationCodePage;

protected:
    void onExecuted(const core::Executed& done) override;
};

} // namespace operations
