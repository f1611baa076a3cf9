#pragma once
// The "Histórico" view: the journal's calls newest first, filtered by operation, answer code,
// date range and text; the details of the selected call (call text, request, raw answer, the
// page's report, the files it wrote); "Extrato" for the receipt of a sale, cancellation or
// end-to-end test; and the support package of the calls shown, or of the rows selected when
// several are.
// The journal is read afresh on every search, so calls made since by `tarvik` or another window
// show up.

#include "journal/call_entry.h"
#include "journal/journal_file.h"

#include <QWidget>

#include <filesystem>
#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QPlainTextEdit;
class QTableWidget;

namespace journal {

class HistoryPage : public QWidget {
    Q_OBJECT
public:
    explicit HistoryPage(std::filesystem::path journalFile, QWidget* parent = nullptr);

    // Reads the journal with the filters shown; the newest call is selected.
    void search();
    // The package of the calls the button counts; asks for the file (proposed in the user's
    // documents folder) when `zipFile` is empty. Returns a one-line summary, or why it failed.
    QString exportSelected(const std::filesystem::path& zipFile = {});

    // What "Extrato" does with the selected call; without one the button is not shown (a build
    // without the receipt drawing).
    using ReceiptOpener = std::function<void(QWidget* parent, const CallEntry& call)>;
    void setReceiptOpener(ReceiptOpener opener);

    const std::vector<CallEntry>& shown() const { return calls_; }

private:
    Filter filter() const;
    void selectionChanged();
    void showDetails();
    std::vector<CallEntry> selected() const;
    // Several rows selected: those; else every call shown.
    std::vector<CallEntry> toExport() const;

    std::filesystem::path file_;
    std::vector<CallEntry> calls_;
    QComboBox* operation_ = nullptr;
    QLineEdit* code_ = nullptr;
    QCheckBox* period_ = nullptr;
    QDateEdit* from_ = nullptr;
    QDateEdit* to_ = nullptr;
    QLineEdit* text_ = nullptr;
    QTableWidget* table_ = nullptr;
    QPlainTextEdit* details_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* export_ = nullptr;
    QPushButton* extrato_ = nullptr;
    ReceiptOpener opener_;
};

} // namespace journal
