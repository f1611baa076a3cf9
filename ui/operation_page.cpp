#include "ui/operation_page.h"

#include "core/text.h"
#include "ui/dialogs.h"
#include "ui/fonts.h"
#include "ui/qt_text.h"
#include "ui/text_box.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>

namespace ui {
namespace {

QFont boxFont() {
    QFont font("Lucida Console");
    if (!QFontInfo(font).fixedPitch())
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(10);
    return font;
}

// A text box takes the height its page leaves it, at least `lines` lines. The window measures
// its pages by their preferred heights (a wrapping label makes it ask the height for its width),
// and a box's own preference would make every page taller than the designed window.
void fillLeftHeight(QAbstractScrollArea* box, int lines) {
    constexpr int documentMargins = 2 * 4;
    box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    box->setMinimumHeight(lines * box->fontMetrics().lineSpacing() + documentMargins +
                          2 * box->frameWidth() +
                          box->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
}

template <typename Box> Box* makeBox(const QString& name, QWidget* parent) {
    auto* box = new Box(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setFont(boxFont());
    box->setLineWrapMode(Box::NoWrap);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    fillLeftHeight(box, 4);
    return box;
}

QWidget* sheetWith(QWidget* content, const QString& name) {
    auto* sheet = new QWidget;
    sheet->setObjectName(name);
    auto* layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content);
    return sheet;
}

constexpr int descriptionTab = 2;
constexpr int integradorTab = 3;

} // namespace

OperationPage::OperationPage(const core::OperationDefinition& definition, PageHost& host,
                             QWidget* parent)
    : QWidget(parent), definition_(definition), operation_(definition.operation), host_(host) {
    build(*core::pageNames(operation_.page));
}

void OperationPage::build(const core::PageNames& names) {
    setObjectName(qs(names.tab));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildTitle());
    subControl_ = new QTabWidget;
    subControl_->setObjectName(qs(names.subControl));
    layout->addWidget(subControl_);
    buildSheets(names, buildCommandSheet(names));
    setHelpLoaded(false);
}

QWidget* OperationPage::buildTitle() {
    auto* title = new QLabel(qs(operation_.name));
    title->setObjectName("PanelTitulo_" + QString::number(operation_.page));
    title->setFixedHeight(25);
    title->setAlignment(Qt::AlignCenter);
    title->setAutoFillBackground(true);
    title->setStyleSheet("background-color: grey; color: white; font-family: \"" +
                         interfaceFamily() + "\"; font-weight: bold; font-size: 12pt;");
    return title;
}

// "Comando": the command panel (header, parameters, buttons) above the command box.
QWidget* OperationPage::buildCommandSheet(const core::PageNames& names) {
    const QString n = QString::number(operation_.page);
    auto* command = new QWidget;
    auto* commandLayout = new QVBoxLayout(command);
    commandLayout->setContentsMargins(0, 0, 0, 0);
    auto* panel = new QWidget;
    auto* panelLayout = new QVBoxLayout(panel);
    QString header = qs(names.header[0]);
    if (!names.header[1].empty())
        header += "\n" + qs(names.header[1]);
    auto* headerLabel = new QLabel(header);
    headerLabel->setObjectName("LblHeader_" + n);
    headerLabel->setAutoFillBackground(true);
    headerLabel->setWordWrap(true);
    headerLabel->setStyleSheet(
        "color: green; font-weight: bold; background-color: palette(button);");
    panelLayout->addWidget(headerLabel);
    parameters_ = new QWidget;
    parameters_->setObjectName("PanelParametros_" + n);
    panelLayout->addWidget(parameters_);
    panelLayout->addLayout(buildButtons());
    commandLayout->addWidget(panel);

    commandBox_ = makeBox<QPlainTextEdit>("MemoComando_" + n, command);
    commandLayout->addWidget(commandBox_, 1);
    return command;
}

QLayout* OperationPage::buildButtons() {
    const QString n = QString::number(operation_.page);
    auto* buttons = new QHBoxLayout;
    auto* showButton = new QPushButton("Mostrar");
    showButton->setObjectName("BtnMostra_" + n);
    buttons->addWidget(showButton);
    connect(showButton, &QPushButton::clicked, this,
            [this] { host_.guarded([this] { showCall(); }); });
    if (operation_.page != 0) {
        auto* analyseButton = new QPushButton("Analisar");
        analyseButton->setObjectName("BtnAnalisa_" + n);
        buttons->addWidget(analyseButton);
        connect(analyseButton, &QPushButton::clicked, this,
                [this] { host_.guarded([this] { analyse(); }); });
    }
    executeButton_ = new QPushButton("Executar");
    executeButton_->setObjectName("BtnExecuta_" + n);
    executeButton_->setEnabled(false);
    buttons->addWidget(executeButton_);
    connect(executeButton_, &QPushButton::clicked, this,
            [this] { host_.guarded([this] { execute(); }); });
    buttons->addStretch();
    return buttons;
}

void OperationPage::buildSheets(const core::PageNames& names, QWidget* commandSheet) {
    const QString n = QString::number(operation_.page);
    answerBox_ = makeBox<QPlainTextEdit>("MemoResposta_" + n, nullptr);
    descriptionBox_ = new QTextEdit;
    descriptionBox_->setObjectName(qs(names.description));
    descriptionBox_->setReadOnly(true);
    fillLeftHeight(descriptionBox_, 4);
    templateBox_ = makeBox<QTextEdit>("REIntegrador_" + n, nullptr);

    const auto& cap = core::subTabCaptions;
    subControl_->addTab(sheetWith(commandSheet, qs(names.sheets[0])), qs(cap[0]));
    subControl_->addTab(sheetWith(answerBox_, qs(names.sheets[1])), qs(cap[1]));
    subControl_->addTab(sheetWith(descriptionBox_, qs(names.sheets[2])), qs(cap[2]));
    subControl_->addTab(sheetWith(templateBox_, qs(names.sheets[3])), qs(cap[3]));
}

bool OperationPage::helpLoaded() const {
    return descriptionBox_->property("tag").toInt() == 1;
}

void OperationPage::setHelpLoaded(bool loaded) {
    descriptionBox_->setProperty("tag", loaded ? 1 : 0);
}

void OperationPage::setIntegradorTabVisible(bool visible) {
    subControl_->setTabVisible(integradorTab, visible);
}

void OperationPage::setCommandColour(bool red) {
    QPalette palette = commandBox_->palette();
    palette.setColor(QPalette::Text,
                     red ? QColor(Qt::red) : this->palette().color(QPalette::WindowText));
    commandBox_->setPalette(palette);
}

void OperationPage::enter() {
    commandBox_->clear();
    commandBox_->setReadOnly(true);
    QPalette palette = commandBox_->palette();
    palette.setColor(QPalette::Base, this->palette().color(QPalette::Window));
    commandBox_->setPalette(palette);
    answerBox_->clear();
    executeButton_->setEnabled(false);
    onEnter();
    subControl_->setTabVisible(descriptionTab, helpLoaded());
    subControl_->setCurrentIndex(helpLoaded() ? descriptionTab : 0);
}

core::OperationLogic OperationPage::bindLogic() const {
    return definition_.bind(operation_, inputs(), host_.operationContext());
}

void OperationPage::analyse() {
    commandBox_->clear();
    setCommandColour(true);
    const core::OperationLogic logic = bindLogic();
    const core::Lines findings = logic.analyse ? logic.analyse() : core::Lines{};
    if (findings.empty()) {
        setCommandColour(false);
        commandBox_->appendPlainText(qs(core::analysisOk));
    } else {
        appendToBox(commandBox_, findings);
    }
}

bool OperationPage::showCall() {
    commandBox_->clear();
    logic_ = bindLogic();
    if (const auto refused = logic_.refusal ? logic_.refusal() : std::nullopt) {
        setCommandColour(true);
        commandBox_->appendPlainText(qs(*refused));
        executeButton_->setEnabled(false);
        return false;
    }
    setCommandColour(false);
    const core::Shown shown = core::mostrar(host_, operation_, logic_.prepare);
    lastCall_ = shown.call;
    appendToBox(commandBox_, shown.commandBox);
    executeButton_->setEnabled(true);
    showMessages();
    return true;
}

void OperationPage::showMessages() {
    if (!logic_.takeMessages)
        return;
    for (const auto& message : logic_.takeMessages())
        dialogs().message(this, messageText(message));
}

void OperationPage::execute() {
    host_.cursorWait();
    core::Executed done;
    core::CallAttempt attempt;
    attempt.operation = &operation_;
    attempt.fields = definition_.fields;
    attempt.inputs = inputs();
    attempt.integradorMode = host_.integradorMode();
    try {
        onExecuting();
        if (!showCall()) {
            host_.cursorDefault();
            attempt.refusal = commandBox_->toPlainText().toStdString();
            host_.recordAttempt(attempt);
            return;
        }
        attempt.call = lastCall_;
        attempt.session = host_.state().sessionNumber;
        attempt.requestIdentifier = host_.state().requestIdentifier;
        attempt.start = std::chrono::system_clock::now();
        attempt.startedAt = std::chrono::steady_clock::now();
        done = core::executar(host_, operation_, lastCall_, logic_.report);
        attempt.finish();
    } catch (const std::exception& e) {
        host_.cursorDefault();
        attempt.finish();
        if (attempt.call)
            attempt.failure = std::current_exception();
        else
            attempt.refusal = e.what();
        host_.recordAttempt(attempt);
        throw;
    } catch (...) {
        host_.cursorDefault();
        throw;
    }
    answerBox_->clear();
    appendToBox(answerBox_, done.answerBox);
    host_.cursorDefault();
    subControl_->setCurrentIndex(1);
    // A long answer line (a CSR, a document) would leave the box at its end: the session, code
    // and message lead the line.
    answerBox_->moveCursor(QTextCursor::Start);
    attempt.executed = done;
    attempt.end = host_.lastCallEnd();
    if (logic_.writtenFiles)
        attempt.files = logic_.writtenFiles();
    host_.recordAttempt(attempt);
    showMessages();
    onExecuted(done);
}

} // namespace ui
