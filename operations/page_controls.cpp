#include "operations/page_controls.h"

#include <QLabel>
#include <QLineEdit>

namespace operations {

QLineEdit* makeCnpjEdit(const QString& name) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    // In a Qt mask "9" is a required digit: every place of the CNPJ must be filled.
    edit->setInputMask("99.999.999/9999-99;_");
    return edit;
}

std::string cnpjValue(const QLineEdit* edit) {
    std::string digits;
    for (const QChar c : edit->text())
        if (c >= '0' && c <= '9')
            digits += c.toLatin1();
    return digits;
}

QLabel* namedLabel(const QString& text, const QString& name) {
    auto* label = new QLabel(text);
    label->setObjectName(name);
    return label;
}

} // namespace operations
