#pragma once

#include "ui/operation_page.h"

#include <filesystem>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace documents {

// Page 9: the cancellation of the last sale, from a ready CFeCanc file or from the issued CF-e
// of the sale ("Cancelamento usando XML do CFe emitido"), whose CFeCanc "Gerar CFeCanc." writes
// into Temp.
class CancelLastSalePage : public ui::OperationPage {
    Q_OBJECT
public:
    CancelLastSalePage(const core::OperationDefinition& definition, ui::PageHost& host,
                       QWidget* parent = nullptr);

protected:
    core::Inputs inputs() const override;
    void onExecuting() override;
    void onExecuted(const core::Executed& done) override;

private:
    void buildAnswerBar();
    std::filesystem::path programFolder() const;
    bool issuedMode() const;

    void CheckCFeClick();
    void EdtXml_9Change();
    void BtnEscolhe_9Click();
    void BtnBrowser_9Click();
    void BtnValida_9Click();
    void BtnGeraCanc_9Click();
    void BtnBrowserCanc_9Click();
    void BtnNaveg_9Click();
    void BtnExtrato_9Click(); // built with the receipt drawing only

    QLineEdit* codigo_ = nullptr;
    QCheckBox* checkCFe_ = nullptr;
    QLabel* xmlLabel_ = nullptr;
    QLineEdit* xml_ = nullptr;
    QPushButton* browser_ = nullptr;
    QPushButton* validate_ = nullptr;
    QPushButton* generate_ = nullptr;
    QLabel* keyLabel_ = nullptr;
    QPushButton* browserCanc_ = nullptr;
    QPushButton* naveg_ = nullptr;
    QPushButton* extrato_ = nullptr;
    // The files as they were saved, whatever the field says since.
    std::filesystem::path generatedFile_;
    std::filesystem::path returnedFile_;
    // The field's file when the cancellation was saved, and the sale's issued CF-e when that
    // file was it.
    std::filesystem::path requestFile_;
    std::filesystem::path saleFile_;
};

} // namespace documents
