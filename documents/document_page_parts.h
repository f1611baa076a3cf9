#pragma once
// The controls the document pages (end-to-end test, sale, cancellation) share: the file field
// with its "..." choice, opening a file in the desktop's viewer, the "Validar xml" result in the
// command box, and the button bar above the answer box.

#include "documents/validate_buttons.h"

#include <filesystem>

#include <QString>

class QHBoxLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace documents {

// Typing stops at `limit` characters, while a longer text the program puts in (a chosen path)
// is kept whole and can still be shortened.
void limitTyping(QLineEdit* edit, int limit);

// The file choice: the open dialog OpenDialog1, titled "Selecione o XML" with the filter
// "Arquivos XML (*.xml)"; on confirmation the edit is emptied, then set to the full path chosen.
void chooseXmlFile(QWidget* parent, QLineEdit* edit);

// Hands the file to the desktop's program for it when it is an existing regular file; does
// nothing otherwise. When no program can be started for it, a message box says so.
void openInBrowser(QWidget* parent, const std::filesystem::path& file);

// A validate button's result in the command box: cleared or not, the lines added, the box's one
// text colour. A schema that could not be loaded throws its error for the standard error box.
void showValidation(QPlainTextEdit* commandBox, const ValidationBox& box);

// The layout chosen in the window ("0.06", "0.07", "0.08"); 0.07 for any other text.
Layout chosenLayout(const std::string& name);

// The bar at the top of the answer sub-tab, above the answer box, for the page's buttons there.
QHBoxLayout* answerBar(QPlainTextEdit* answerBox);

// The object names of a document page's controls.
struct DocumentControlNames {
    QString codigo;  // the activation code edit
    QString file;    // the file edit, "CFe a Transmitir:"
    QString escolhe; // "..."
    QString browser; // "Abrir no Browser" beside the file
    QString valida;  // "Validar xml"
    QString naveg;   // "Abrir no Browser" above the answer box
};

struct DocumentControls {
    QLineEdit* codigo = nullptr;
    QLineEdit* file = nullptr;
    QPushButton* browser = nullptr;
    QPushButton* valida = nullptr;
    QPushButton* naveg = nullptr;
    QHBoxLayout* answerBar = nullptr; // holds naveg, then a stretch
};

// The sale and end-to-end pages' controls: the code (32 characters), the file row (typing
// limited to 32, "..." choosing the file, the browser and validate buttons enabled while the
// field, as typed, names an existing file) and the answer bar's browser button, disabled.
DocumentControls buildDocumentControls(const DocumentControlNames& names, QWidget* parameters,
                                       QPlainTextEdit* answerBox);

} // namespace documents
