#include "receipt/receipt_preview_page.h"

#include "core/path_text.h"
#include "core/whole_file.h"
#include "receipt/receipt_drawing.h"
#include "ui/dialogs.h"
#include "ui/qt_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include <stdexcept>

namespace receipt {
namespace {

constexpr double previewDotsPerMm = 8; // a 203 dpi printer's dots

} // namespace

void ReceiptPreviewPage::show(QWidget* parent, const ReceiptFiles& files) {
    BuiltReceipt built = receiptFromFiles(files, Paper::mm80, Variant::full);
    if (!built.receipt) {
        ui::dialogs().message(parent, ui::qs(built.error));
        return;
    }
    auto* preview = new ReceiptPreviewPage(parent, files, std::move(*built.receipt));
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->open();
}

ReceiptPreviewPage::ReceiptPreviewPage(QWidget* parent, const ReceiptFiles& files, Receipt receipt)
    : QDialog(parent), files_(files), receipt_(std::move(receipt)) {
    setObjectName("FormExtrato");
    setWindowTitle(files.cancellation ? "Extrato do cancelamento" : "Extrato do CF-e-SAT");

    width_ = new QComboBox;
    width_->setObjectName("CmbLargura");
    width_->addItems({"80 mm", "58 mm"});
    summarised_ = new QCheckBox("Resumido");
    summarised_->setObjectName("CheckResumido");
    summarised_->setVisible(!files.cancellation);
    auto* options = new QHBoxLayout;
    options->addWidget(new QLabel("Largura do papel:"));
    options->addWidget(width_);
    options->addWidget(summarised_);
    options->addStretch();

    image_ = new QLabel;
    image_->setObjectName("ImgExtrato");
    image_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    auto* scroll = new QScrollArea;
    scroll->setWidget(image_);
    scroll->setWidgetResizable(true);
    scroll->setBackgroundRole(QPalette::Dark);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    auto* save = buttons->addButton("Salvar PDF…", QDialogButtonBox::ActionRole);
    save->setObjectName("BtnSalvarPdf");
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(save, &QPushButton::clicked, this, &ReceiptPreviewPage::BtnSalvarPdfClick);
    connect(width_, &QComboBox::currentIndexChanged, this, &ReceiptPreviewPage::redraw);
    connect(summarised_, &QCheckBox::toggled, this, &ReceiptPreviewPage::redraw);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(options);
    layout->addWidget(scroll, 1);
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

// The files are read again: they are the receipt's only source, and may have been replaced.
void ReceiptPreviewPage::redraw() {
    BuiltReceipt built = receiptFromFiles(files_, paper(), variant());
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
    const std::filesystem::path cfe = files_.cancellation ? *files_.cancellation : files_.cfe;
    std::filesystem::path suggested = cfe;
    suggested.replace_extension(".pdf");
    const QString chosen = QFileDialog::getSaveFileName(
        this, "Salvar PDF", ui::qs(core::utf8FromPath(suggested)), "Arquivos PDF (*.pdf)");
    if (!chosen.isEmpty())
        savePdf(core::pathFromUtf8(chosen.toStdString()));
}

} // namespace receipt
