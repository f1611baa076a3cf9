#pragma once
// One operation page and the workflow every page shares: page entry, "Analisar", "Mostrar" and
// "Executar". The operation's definition supplies the checks, the call and the report; a page
// class supplies only its controls and the inputs they hold.

#include "core/operation_definition.h"
#include "core/page_names.h"
#include "ui/page_host.h"

#include <QWidget>

class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTextEdit;

namespace ui {

class OperationPage : public QWidget {
    Q_OBJECT
public:
    OperationPage(const core::OperationDefinition& definition, PageHost& host,
                  QWidget* parent = nullptr);

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
    using Bind = decltype(core::OperationDefinition::bind);
    // For a page whose operation has no definition yet: `bind` may be null while nothing runs.
    OperationPage(const core::Operation& operation, Bind bind, PageHost& host, QWidget* parent);

    // What the page's controls hold, by field key.
    virtual core::Inputs inputs() const { return {}; }
    // Extra work of the page entry, before the page is shown.
    virtual void onEnter() {}
    // After "Executar" has written the answer box: message boxes, labels, files to open.
    virtual void onExecuted(const core::Executed&) {}

    // The logic bound by the last "Mostrar" (what it remembers, the files it wrote).
    const core::OperationLogic& logic() const { return logic_; }

    // Where the page puts its parameter controls, between the header and the buttons.
    QWidget* parametersPanel() const { return parameters_; }
    QPlainTextEdit* commandBox() const { return commandBox_; }
    QPlainTextEdit* answerBox() const { return answerBox_; }
    PageHost& host() const { return host_; }
    // Shows the command box's text in red (findings) or in the window-text colour.
    void setCommandColour(bool red);

private:
    void build(const core::PageNames& names);
    QWidget* buildTitle();
    QWidget* buildCommandSheet(const core::PageNames& names);
    QLayout* buildButtons();
    void buildSheets(const core::PageNames& names, QWidget* commandSheet);
    core::OperationLogic bindLogic() const;
    void writeLines(QPlainTextEdit* box, const core::Lines& lines);

    const core::Operation& operation_;
    Bind bind_;
    PageHost& host_;
    QTabWidget* subControl_ = nullptr;
    QWidget* parameters_ = nullptr;
    QPushButton* executeButton_ = nullptr;
    QPlainTextEdit* commandBox_ = nullptr;
    QPlainTextEdit* answerBox_ = nullptr;
    QTextEdit* descriptionBox_ = nullptr;
    QTextEdit* templateBox_ = nullptr;
    core::OperationLogic logic_;
    core::PreparedCall lastCall_;
};

} // namespace ui
