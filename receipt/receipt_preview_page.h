#pragma once
// The receipt's preview: the receipt drawn as it will print, the paper width, the summarised
// variant (a sale's receipt only) and "Salvar PDF…". The dialog only shows and saves; what the
// receipt holds comes from the files or the documents given, through the receipt's logic. It
// opens wide enough for the whole paper, with the paper width and "Resumido" last chosen.

#include "receipt/receipt_files.h"

#include <QDialog>

#include <filesystem>
#include <functional>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QScrollArea;

namespace receipt {

class ReceiptPreviewPage : public QDialog {
    Q_OBJECT
public:
    // Opens the preview of the files' receipt beside `parent` (not blocking, deleted when
    // closed); when the files do not make a receipt, shows why in a message box instead.
    static void show(QWidget* parent, const ReceiptFiles& files);
    // The same for documents at hand; "Salvar PDF…" proposes `suggestedPdf`.
    static void show(QWidget* parent, const ReceiptDocuments& documents,
                     const std::filesystem::path& suggestedPdf);
    // Asks for an issued CF-e or CFeCanc, starting in `folder`, and previews its receipt. A
    // CFeCanc's sale is looked for among the XML files beside it, else asked for.
    static void showChosenFile(QWidget* parent, const std::filesystem::path& folder);

    // From now on the paper width and "Resumido" chosen are kept in this INI file, and the next
    // previews start from what it holds. Without it they are kept while the program runs.
    static void keepChoicesIn(const std::string& iniPath);

    // Writes the PDF of the receipt as shown; false with a message box on failure.
    bool savePdf(const std::filesystem::path& file);

private:
    using Builder = std::function<BuiltReceipt(Paper, Variant)>;
    static void openPreview(QWidget* parent, bool cancellation, Builder build,
                            const std::filesystem::path& suggestedPdf);
    ReceiptPreviewPage(QWidget* parent, bool cancellation, Builder build,
                       std::filesystem::path suggestedPdf);
    Paper paper() const;
    Variant variant() const;
    void choicesChanged();
    void redraw();
    void fitPaper();
    void BtnSalvarPdfClick();

    Builder build_;
    std::filesystem::path suggestedPdf_;
    bool cancellation_ = false;
    Receipt receipt_;
    QComboBox* width_ = nullptr;
    QCheckBox* summarised_ = nullptr;
    QLabel* image_ = nullptr;
    QScrollArea* scroll_ = nullptr;
};

} // namespace receipt
