#pragma once

#include "documents/document_page_parts.h"
#include "ui/operation_page.h"

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
    void BtnBrowserClick();
    void BtnValidarClick();
    void BtnExtrato_4Click(); // built with the receipt drawing only

    DocumentControls controls_;
    // The receipt of the CF-e the last test saved, or of a chosen file; none in a build without the
    // receipt drawing.
    QPushButton* extrato_ = nullptr;
    bool tested_ = false; // the last test of this run saved its CF-e
};

} // namespace documents
