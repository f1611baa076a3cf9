#include "documents/document_page_parts.h"

#include "core/path_text.h"
#include "documents/document_file.h"
#include "ui/dialogs.h"
#include "ui/qt_text.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <QValidator>

#include <stdexcept>

namespace documents {
namespace {

// Refuses a keystroke that makes the text longer than the limit and longer than it was; edits
// that keep or shorten a longer text (a chosen path) pass. The validator sees the new text only,
// so it keeps the length of the last text shown.
class TypedLengthValidator : public QValidator {
public:
    TypedLengthValidator(QLineEdit* edit, int limit) : QValidator(edit), limit_(limit) {
        connect(edit, &QLineEdit::textChanged, this,
                [this](const QString& text) { shownLength_ = text.size(); });
    }

    State validate(QString& input, int&) const override {
        return input.size() > limit_ && input.size() > shownLength_ ? Invalid : Acceptable;
    }

private:
    int limit_;
    qsizetype shownLength_ = 0;
};

} // namespace

void limitTyping(QLineEdit* edit, int limit) {
    edit->setValidator(new TypedLengthValidator(edit, limit));
}

void chooseXmlFile(QWidget* parent, QLineEdit* edit) {
    QFileDialog dialog(parent, "Selecione o XML");
    dialog.setObjectName("OpenDialog1");
    dialog.setNameFilter("Arquivos XML (*.xml)");
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    edit->clear();
    edit->setText(QDir::toNativeSeparators(dialog.selectedFiles().first()));
}

void openInBrowser(QWidget* parent, const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        return;
    const QString shown = ui::qs(core::utf8FromPath(file));
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(shown)))
        ui::dialogs().message(parent, "Não foi possível abrir " + QDir::toNativeSeparators(shown) +
                                          ": nenhum navegador ou programa do sistema para este "
                                          "arquivo pôde ser iniciado.");
}

void showValidation(QPlainTextEdit* commandBox, const ValidationBox& box) {
    if (box.clear)
        commandBox->clear();
    QPalette palette = commandBox->palette();
    switch (box.colour) {
    case BoxColour::Red:
        palette.setColor(QPalette::Text, Qt::red);
        break;
    case BoxColour::Green:
        palette.setColor(QPalette::Text, QColor(0, 128, 0));
        break;
    case BoxColour::WindowText:
        palette.setColor(QPalette::Text,
                         commandBox->window()->palette().color(QPalette::WindowText));
        break;
    }
    commandBox->setPalette(palette);
    for (const auto& line : box.lines)
        commandBox->appendPlainText(ui::qs(line));
    if (!box.error.empty())
        throw std::runtime_error(box.error);
}

Layout chosenLayout(const std::string& name) {
    return layoutNamed(name).value_or(Layout::V007);
}

QHBoxLayout* answerBar(QPlainTextEdit* answerBox) {
    auto* sheet = qobject_cast<QBoxLayout*>(answerBox->parentWidget()->layout());
    auto* bar = new QHBoxLayout;
    sheet->insertLayout(0, bar);
    return bar;
}

DocumentControls buildDocumentControls(const DocumentControlNames& names, QWidget* parameters,
                                       QPlainTextEdit* answerBox) {
    const auto button = [](const QString& caption, const QString& name) {
        auto* made = new QPushButton(caption);
        made->setObjectName(name);
        return made;
    };
    DocumentControls c;
    auto* form = new QFormLayout(parameters);
    c.codigo = new QLineEdit;
    c.codigo->setObjectName(names.codigo);
    c.codigo->setMaxLength(32);
    form->addRow("Código de Ativação:", c.codigo);

    c.file = new QLineEdit;
    c.file->setObjectName(names.file);
    limitTyping(c.file, 32);
    auto* escolhe = button("...", names.escolhe);
    c.browser = button("Abrir no Browser", names.browser);
    c.valida = button("Validar xml", names.valida);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(c.file, 1);
    for (QPushButton* b : {escolhe, c.browser, c.valida})
        fileRow->addWidget(b);
    form->addRow("CFe a Transmitir:", fileRow);

    c.naveg = button("Abrir no Browser", names.naveg);
    c.answerBar = answerBar(answerBox);
    c.answerBar->addWidget(c.naveg);
    c.answerBar->addStretch();

    for (QPushButton* b : {c.browser, c.valida, c.naveg})
        b->setEnabled(false);
    QObject::connect(escolhe, &QPushButton::clicked, parameters,
                     [parameters, file = c.file] { chooseXmlFile(parameters, file); });
    QObject::connect(c.file, &QLineEdit::textChanged, parameters, [c](const QString& text) {
        const bool exists = isExistingFile(text.toStdString());
        c.browser->setEnabled(exists);
        c.valida->setEnabled(exists);
    });
    return c;
}

} // namespace documents
