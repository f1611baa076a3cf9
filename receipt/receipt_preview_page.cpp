#include "receipt/receipt_preview_page.h"

#include "core/path_text.h"
#include "core/whole_file.h"
#include "receipt/cancelled_sale.h"
#include "receipt/chosen_document.h"
#include "receipt/receipt_drawing.h"
#include "receipt/receipt_preferences.h"
#include "ui/dialogs.h"
#include "ui/qt_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <stdexcept>

namespace receipt {
namespace {

constexpr double previewDotsPerMm = 8; // a 203 dpi printer's dots

// The choices of the last preview, for the next one.
ReceiptPreferences remembered;
std::string preferencesFile;

std::filesystem::path pdfBeside(const std::filesystem::path& document) {
    std::filesystem::path pdf = document;
    return pdf.replace_extension(".pdf");
}

} // namespace

void ReceiptPreviewPage::keepChoicesIn(const std::string& iniPath) {
    preferencesFile = iniPath;
    remembered = readReceiptPreferences(iniPath);
}

void ReceiptPreviewPage::show(QWidget* parent, const ReceiptFiles& files) {
    openPreview(
        parent, files.cancellation.has_value(),
        [files](Paper paper, Variant variant) { return receiptFromFiles(files, paper, variant); },
        pdfBeside(files.cancellation ? *files.cancellation : files.cfe));
}

void ReceiptPreviewPage::show(QWidget* parent, const ReceiptDocuments& documents,
                              const std::filesystem::path& suggestedPdf) {
    openPreview(
        parent, documents.cancellation.has_value(),
        [documents](Paper paper, Variant variant) {
            return receiptFromDocuments(documents, paper, variant);
        },
        suggestedPdf);
}

void ReceiptPreviewPage::showChosenFile(QWidget* parent, const std::filesystem::path& folder) {
    const QString name =
        ui::dialogs().openFileName(parent, "Selecione o CF-e ou o CFeCanc emitido",
                                   ui::qs(core::utf8FromPath(folder)), "Arquivos XML (*.xml)");
    if (name.isEmpty())
        return;
    const std::filesystem::path file = core::pathFromUtf8(name.toStdString());
    const ChosenDocument chosen = chosenDocument(file);
    if (!chosen.document) {
        ui::dialogs().message(parent, ui::qs(chosen.error));
        return;
    }
    if (!chosen.cancellation) {
        show(parent, ReceiptFiles{file, std::nullopt});
        return;
    }
    auto sale = cancelledSaleFile(file, xmlFilesBeside(file));
    if (!sale) {
        const QString saleName =
            ui::dialogs().openFileName(parent, "Selecione o CF-e da venda cancelada",
                                       ui::qs(core::utf8FromPath(folder)), "Arquivos XML (*.xml)");
        if (saleName.isEmpty())
            return;
        sale = core::pathFromUtf8(saleName.toStdString());
    }
    show(parent, ReceiptFiles{*sale, file});
}

void ReceiptPreviewPage::openPreview(QWidget* parent, bool cancellation, Builder build,
                                     const std::filesystem::path& suggestedPdf) {
    const BuiltReceipt built = build(remembered.paper, Variant::full);
    if (!built.receipt) {
        ui::dialogs().message(parent, ui::qs(built.error));
        return;
    }
    auto* preview = new ReceiptPreviewPage(parent, cancellation, std::move(build), suggestedPdf);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->QDialog::open();
}

ReceiptPreviewPage::ReceiptPreviewPage(QWidget* parent, bool cancellation, Builder build,
                                       std::filesystem::path suggestedPdf)
    : QDialog(parent), build_(std::move(build)), suggestedPdf_(std::move(suggestedPdf)),
      cancellation_(cancellation) {
    setObjectName("FormExtrato");
    setWindowTitle(cancellation ? "Extrato do cancelamento" : "Extrato do CF-e-SAT");

    width_ = new QComboBox;
    width_->setObjectName("CmbLargura");
    width_->addItems({"80 mm", "58 mm"});
    width_->setCurrentIndex(remembered.paper == Paper::mm58 ? 1 : 0);
    summarised_ = new QCheckBox("Resumido");
    summarised_->setObjectName("CheckResumido");
    summarised_->setVisible(!cancellation);
    summarised_->setChecked(!cancellation && remembered.summarised);
    auto* options = new QHBoxLayout;
    options->addWidget(new QLabel("Largura do papel:"));
    options->addWidget(width_);
    options->addWidget(summarised_);
    options->addStretch();

    image_ = new QLabel;
    image_->setObjectName("ImgExtrato");
    image_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scroll_ = new QScrollArea;
    scroll_->setObjectName("ScrollExtrato");
    scroll_->setWidget(image_);
    scroll_->setWidgetResizable(true);
    scroll_->setBackgroundRole(QPalette::Dark);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    auto* save = buttons->addButton("Salvar PDF…", QDialogButtonBox::ActionRole);
    save->setObjectName("BtnSalvarPdf");
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(save, &QPushButton::clicked, this, &ReceiptPreviewPage::BtnSalvarPdfClick);
    connect(width_, &QComboBox::currentIndexChanged, this, &ReceiptPreviewPage::choicesChanged);
    connect(summarised_, &QCheckBox::toggled, this, &ReceiptPreviewPage::choicesChanged);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(options);
    layout->addWidget(scroll_, 1);
    layout->addWidget(buttons);
    resize(460, 720);
    redraw();
}

Paper ReceiptPreviewPage::paper() const {
    return width_->currentIndex() == 1 ? Paper::mm58 : Paper::mm80;
}

Variant ReceiptPreviewPage::variant() const {
    return summarised_->isChecked() ? Variant::summarised : Variant::full;
}

// A cancellation's preview has no "Resumido": the sale's choice stays as it was.
void ReceiptPreviewPage::choicesChanged() {
    remembered.paper = paper();
    if (!cancellation_)
        remembered.summarised = summarised_->isChecked();
    if (!preferencesFile.empty())
        writeReceiptPreferences(preferencesFile, remembered);
    redraw();
}

// The documents are read again: files are the receipt's only source, and may have been replaced.
void ReceiptPreviewPage::redraw() {
    BuiltReceipt built = build_(paper(), variant());
    if (!built.receipt) {
        ui::dialogs().message(this, ui::qs(built.error));
        return;
    }
    receipt_ = std::move(*built.receipt);
    Image drawn;
    try {
        drawn = receiptImage(receipt_, previewDotsPerMm);
    } catch (const std::runtime_error& e) {
        ui::dialogs().message(this, ui::qs(e.what()));
        return;
    }
    const QImage image(drawn.pixels.data(), drawn.width, drawn.height, drawn.stride,
                       QImage::Format_ARGB32_Premultiplied);
    image_->setPixmap(QPixmap::fromImage(image)); // a copy: `drawn` goes out of scope
    fitPaper();
}

// Wide enough for the whole paper beside the vertical scroll bar; never narrower than the user
// made it.
void ReceiptPreviewPage::fitPaper() {
    const QMargins margins = layout()->contentsMargins();
    const int needed = image_->pixmap().width() + 2 * scroll_->frameWidth() +
                       scroll_->verticalScrollBar()->sizeHint().width() + margins.left() +
                       margins.right();
    if (width() < needed)
        resize(needed, height());
}

bool ReceiptPreviewPage::savePdf(const std::filesystem::path& file) {
    std::string error;
    try {
        if (core::writeFileWhole(file, receiptPdf(receipt_), error))
            return true;
    } catch (const std::runtime_error& e) {
        error = e.what();
    }
    ui::dialogs().message(
        this, ui::qs("Não foi possível gravar " + core::utf8FromPath(file) + ": " + error));
    return false;
}

void ReceiptPreviewPage::BtnSalvarPdfClick() {
    const QString chosen = ui::dialogs().saveFileName(
        this, "Salvar PDF", ui::qs(core::utf8FromPath(suggestedPdf_)), "Arquivos PDF (*.pdf)");
    if (!chosen.isEmpty())
        savePdf(core::pathFromUtf8(chosen.toStdString()));
}

} // namespace receipt
