#pragma once
// The "Histórico" view: the journal's calls newest first, filtered by operation, answer code,
// date range and text; the details of the selected call (call text, request, raw answer, the
// page's report, the files it wrote); and "Exportar pacote de suporte" for the selected calls.
// The journal is read afresh on every search, so calls made since by `tarvik` or another window
// show up.

#include "journal/call_entry.h"
#include "journal/journal_file.h"

#include <QWidget>

#include <filesystem>
#include <vector>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTableWidget;

namespace journal {

class HistoryPage : public QWidget {
    Q_OBJECT
public:
    explicit HistoryPage(std::filesystem::path journalFile, QWidget* parent = nullptr);

    // Reads the journal with the filters shown; the newest call is selected.
    void search();
    // The package of the selected calls; asks for the file when `zipFile` is empty. Returns a
    // one-line summary, or the reason it failed.
    QString exportSelected(const std::filesystem::path& zipFile = {});

    const std::vector<CallEntry>& shown() const { return calls_; }

private:
    Filter filter() const;
    void showDetails();
    std::vector<CallEntry> selected() const;

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
};

} // namespace journal
