#pragma once

#include "ui/operation_page.h"

class QLineEdit;
class QPushButton;

namespace documents {

// Page 4, TesteFimAFim: the activation code and an optional test file, with its choice and its
// validation; both browser buttons open the CF-e returned by the last successful test.
class EndToEndPage : public ui::OperationPage {
    Q_OBJECT
public:
    EndToEndPage(const core::OperationDefinition& definition, ui::PageHost& host,
                 QWidget* parent = nullptr);

protected:
    core::Inputs inputs() const override;
    void onExecuting() override;
    void onExecuted(const core::Executed& done) override;

private:
    void EdtCFeTesteChange();
    void BtnBrowserClick();
    void BtnValidarClick();

    QLineEdit* codigo_ = nullptr;
    QLineEdit* cfeTeste_ = nullptr;
    QPushButton* browser_ = nullptr;
    QPushButton* validar_ = nullptr;
    QPushButton* naveg_ = nullptr;
};

} // namespace documents
