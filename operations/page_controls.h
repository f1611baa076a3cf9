#pragma once
// Controls the administration pages share: the masked CNPJ edit, labels with a name.

#include <QString>

#include <string>

class QLabel;
class QLineEdit;

namespace operations {

// An edit that shows "99.999.999/9999-99" while typing, "_" in the places not filled yet.
QLineEdit* makeCnpjEdit(const QString& name);

// The edit's value: the digits typed, without the punctuation. A partly filled edit gives fewer
// than 14 digits.
std::string cnpjValue(const QLineEdit* edit);

// A label that tests and the help can find by its name.
QLabel* namedLabel(const QString& text, const QString& name);

} // namespace operations
