#pragma once
// The receipt's preview: the receipt drawn as it will print, the paper width, the summarised
// variant (a sale's receipt only) and "Salvar PDF…". The dialog only shows and saves; what the
// receipt holds comes from the files, through the receipt's logic.

#include "receipt/receipt_files.h"

#include <QDialog>

#include <filesystem>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;

namespace receipt {

class ReceiptPreviewPage : public QDialog {
    Q_OBJECT
public:
    // Opens the preview of the files' receipt beside `parent` (not blocking, deleted when
    // closed); when the files do not make a receipt, shows why in a message box instead.
    static void show(QWidget* parent, const ReceiptFiles& files);

    // Writes the PDF of the receipt as shown; false with a message box on failure.
    bool savePdf(const std::filesystem::path& file);

private:
    ReceiptPreviewPage(QWidget* parent, const ReceiptFiles& files, Receipt receipt);
    Paper paper() const;
    Variant variant() const;
    void redraw();
    void BtnSalvarPdfClick();

    ReceiptFiles files_;
    Receipt receipt_;
    QComboBox* width_ = nullptr;
    QCheckBox* summarised_ = nullptr;
    QLabel* image_ = nullptr;
};

} // namespace receipt
