#include "documents/recorded_receipt_page.h"

#ifdef TARVIK_RECEIPT_DRAWING
#include "core/path_text.h"
#include "journal/journal_file.h"
#include "journal/recorded_document.h"
#include "receipt/issued_documents.h"
#include "receipt/receipt_preview_page.h"
#include "ui/dialogs.h"
#include "ui/qt_text.h"

#include <QStandardPaths>

#include <optional>

namespace documents {
namespace {

receipt::ReceiptDocument documentOf(journal::RecordedDocument recorded) {
    return {std::move(*recorded.bytes), recorded.origin};
}

// The newest journalled sale whose issued CF-e is the one `saleKey` names.
std::optional<receipt::ReceiptDocument> journalledSale(const std::filesystem::path& journalFile,
                                                       const std::string& saleKey) {
    journal::Journal journal(journalFile);
    journal::Filter filter;
    filter.operation = "EnviarDadosVenda";
    filter.text = saleKey;
    for (const journal::CallEntry& sale : journal.find(filter)) {
        journal::RecordedDocument recorded = journal::recordedDocument(sale);
        if (!recorded.bytes)
            continue;
        const auto read = receipt::readSale(*recorded.bytes);
        if (read.document && read.document->key == saleKey)
            return documentOf(std::move(recorded));
    }
    return std::nullopt;
}

// Beside the file the document came from, else in the user's documents folder.
std::filesystem::path suggestedPdf(const journal::RecordedDocument& recorded,
                                   const journal::CallEntry& call) {
    if (!recorded.file.empty())
        return core::pathFromUtf8(recorded.file).replace_extension(".pdf");
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return core::pathFromUtf8(documents.toStdString()) /
           ("Extrato_" + call.operation + "_" + std::to_string(call.id) + ".pdf");
}

} // namespace

void showRecordedReceipt(QWidget* parent, const std::filesystem::path& journalFile,
                         const journal::CallEntry& call) {
    journal::RecordedDocument recorded = journal::recordedDocument(call);
    if (!recorded.bytes) {
        ui::dialogs().message(parent, ui::qs(recorded.error));
        return;
    }
    const std::filesystem::path pdf = suggestedPdf(recorded, call);
    receipt::ReceiptDocuments documents;
    if (call.operation != "CancelarUltimaVenda") {
        documents.cfe = documentOf(std::move(recorded));
        receipt::ReceiptPreviewPage::show(parent, documents, pdf);
        return;
    }
    const auto cancellation = receipt::readCancellation(*recorded.bytes);
    if (!cancellation.document) {
        ui::dialogs().message(parent, ui::qs(recorded.origin + ": " + cancellation.error));
        return;
    }
    try {
        auto sale = journalledSale(journalFile, cancellation.document->saleKey);
        if (!sale) {
            ui::dialogs().message(parent, ui::qs("A venda cancelada (chave " +
                                                 cancellation.document->saleKey +
                                                 ") não está no histórico."));
            return;
        }
        documents.cfe = std::move(*sale);
    } catch (const std::exception& e) {
        ui::dialogs().message(parent,
                              ui::qs("O histórico não pôde ser lido: " + std::string(e.what())));
        return;
    }
    documents.cancellation = documentOf(std::move(recorded));
    receipt::ReceiptPreviewPage::show(parent, documents, pdf);
}

} // namespace documents
#endif
