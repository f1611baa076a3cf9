#pragma once
// The receipt of a call in the journal, opened from the "Histórico": the call's document (see
// journal::recordedDocument) and, for a cancellation, the journalled sale it cancels. Built with
// the receipt drawing only.

#include "journal/call_entry.h"

#include <filesystem>

class QWidget;

namespace documents {

// Opens the preview beside `parent`, or says in a message box why there is no receipt.
void showRecordedReceipt(QWidget* parent, const std::filesystem::path& journalFile,
                         const journal::CallEntry& call);

} // namespace documents
