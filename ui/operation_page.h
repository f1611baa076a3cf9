#pragma once
// One operation page and the workflow every page shares: page entry, "Analisar", "Mostrar" and
// "Executar". A page supplies only its controls, checks, call and report.

#include "core/page_names.h"
#include "ui/page_host.h"

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTextEdit;
class QHBoxLayout;

namespace ui {

class OperationPage : public QWidget {
    Q_OBJECT
public:
    OperationPage(const core::Operation& operation, PageHost& host, QWidget* parent = nullptr);

    const core::Operation& operation() const { return operation_; }

    // Page entry: what the page's operation button does before the page is shown.
    void enter();

    void setIntegradorTabVisible(bool visible);
    QTextEdit* descriptionBox() const { return descriptionBox_; }
    QTextEdit* templateBox() const { return templateBox_; }
    bool helpLoaded() const;
    void setHelpLoaded(bool loaded);

    void analyse();
    void showCall();
    void execute();

protected:
    using Call = core::PreparedCall;

    // The page's checks, one message per failed check.
    virtual core::Lines analysis() { return {}; }
    // The call text and the arguments for the given session number ("Mostrar").
    virtual Call prepareCall(const std::string& sessionNumber) = 0;
    // The lines after the raw answer line. A report returns the lines it could write, stopping
    // where a field is missing or not a number; one that throws shows no lines and no message.
    virtual core::Lines report(std::string_view answer);
    // Extra work of the page entry, before the page is shown.
    virtual void onEnter() {}

    // Where the page puts its parameter controls, between the header and the buttons.
    QWidget* parametersPanel() const { return parameters_; }
    QPlainTextEdit* commandBox() const { return commandBox_; }
    QPlainTextEdit* answerBox() const { return answerBox_; }
    PageHost& host() const { return host_; }
    // Shows the command box's text in red (findings) or in the window-text colour.
    void setCommandColour(bool red);

private:
    void build(const core::PageNames& names);
    void writeLines(QPlainTextEdit* box, const core::Lines& lines);

    const core::Operation& operation_;
    PageHost& host_;
    QTabWidget* subControl_ = nullptr;
    QWidget* parameters_ = nullptr;
    QPushButton* executeButton_ = nullptr;
    QPlainTextEdit* commandBox_ = nullptr;
    QPlainTextEdit* answerBox_ = nullptr;
    QTextEdit* descriptionBox_ = nullptr;
    QTextEdit* templateBox_ = nullptr;
    Call lastCall_;
};

} // namespace ui
