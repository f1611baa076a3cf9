#pragma once

#include "documents/document_page_parts.h"
#include "ui/operation_page.h"

#include <filesystem>

namespace documents {

// Page 8, EnviarDadosVenda: the activation code and the sale file, with its choice, its opening
// in the browser and its validation; after a sale, the issued CF-e saved in Retornos can be
// opened from the answer sub-tab.
class SalePage : public ui::OperationPage {
    Q_OBJECT
public:
    SalePage(const core::OperationDefinition& definition, ui::PageHost& host,
             QWidget* parent = nullptr);

protected:
    core::Inputs inputs() const override;
    void onExecuting() override;
    void onExecuted(const core::Executed& done) override;

private:
    void BtnBrowser_8Click();
    void BtnValida_8Click();
    void BtnNaveg_8Click();
    void BtnGeraXmlCanc_8Click();
    void BtnExtrato_8Click(); // built with the receipt drawing only

    DocumentControls controls_;
    QPushButton* geraXmlCanc_ = nullptr;
    // The receipt of the issued CF-e saved, or of a chosen file; none in a build without the
    // receipt drawing.
    QPushButton* extrato_ = nullptr;
    // The issued CF-e saved by the last sale, as it was named when saved: the field may have
    // changed since. Empty before a sale of this run and after one that saved none.
    std::filesystem::path savedFile_;
};

} // namespace documents
