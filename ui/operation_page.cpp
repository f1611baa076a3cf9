#include "ui/operation_page.h"

#include "core/text.h"
#include "ui/fonts.h"
#include "ui/qt_text.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
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

template <typename Box> Box* makeBox(const QString& name, QWidget* parent) {
    auto* box = new Box(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setFont(boxFont());
    box->setLineWrapMode(Box::NoWrap);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
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

OperationPage::OperationPage(const core::Operation& operation, PageHost& host, QWidget* parent)
    : QWidget(parent), operation_(operation), host_(host) {
    build(*core::pageNames(operation.page));
}

void OperationPage::build(const core::PageNames& names) {
    const QString n = QString::number(operation_.page);
    setObjectName(qs(names.tab));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* title = new QLabel(qs(operation_.name));
    title->setObjectName("PanelTitulo_" + n);
    title->setFixedHeight(25);
    title->setAlignment(Qt::AlignCenter);
    title->setAutoFillBackground(true);
    title->setStyleSheet("background-color: grey; color: white; font-family: \"" +
                         interfaceFamily() + "\"; font-weight: bold; font-size: 12pt;");
    layout->addWidget(title);

    subControl_ = new QTabWidget;
    subControl_->setObjectName(qs(names.subControl));
    layout->addWidget(subControl_);

    // "Comando": the command panel (header, parameters, buttons) above the command box.
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
    panelLayout->addLayout(buttons);
    commandLayout->addWidget(panel);

    commandBox_ = makeBox<QPlainTextEdit>("MemoComando_" + n, command);
    commandLayout->addWidget(commandBox_, 1);

    answerBox_ = makeBox<QPlainTextEdit>("MemoResposta_" + n, nullptr);
    descriptionBox_ = new QTextEdit;
    descriptionBox_->setObjectName(qs(names.description));
    descriptionBox_->setReadOnly(true);
    templateBox_ = makeBox<QTextEdit>("REIntegrador_" + n, nullptr);

    const auto& cap = core::subTabCaptions;
    subControl_->addTab(sheetWith(command, qs(names.sheets[0])), qs(cap[0]));
    subControl_->addTab(sheetWith(answerBox_, qs(names.sheets[1])), qs(cap[1]));
    subControl_->addTab(sheetWith(descriptionBox_, qs(names.sheets[2])), qs(cap[2]));
    subControl_->addTab(sheetWith(templateBox_, qs(names.sheets[3])), qs(cap[3]));
    setHelpLoaded(false);
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

void OperationPage::writeLines(QPlainTextEdit* box, const core::Lines& lines) {
    for (const auto& line : lines)
        box->appendPlainText(qs(core::displayLineBreaks(line)));
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

void OperationPage::analyse() {
    commandBox_->clear();
    setCommandColour(true);
    const core::Lines findings = analysis();
    if (findings.empty()) {
        setCommandColour(false);
        commandBox_->appendPlainText(qs(core::analysisOk));
    } else {
        writeLines(commandBox_, findings);
    }
}

void OperationPage::showCall() {
    commandBox_->clear();
    setCommandColour(false);
    const core::Shown shown =
        core::mostrar(host_, operation_, [this](const std::string& s) { return prepareCall(s); });
    lastCall_ = shown.call;
    writeLines(commandBox_, shown.commandBox);
    executeButton_->setEnabled(true);
}

core::Lines OperationPage::report(std::string_view) {
    return {};
}

void OperationPage::execute() {
    host_.cursorWait();
    core::Executed done;
    try {
        showCall();
        done = core::executar(host_, operation_, lastCall_.arguments,
                              [this](std::string_view answer) { return report(answer); });
    } catch (...) {
        host_.cursorDefault();
        throw;
    }
    answerBox_->clear();
    writeLines(answerBox_, done.answerBox);
    host_.cursorDefault();
    subControl_->setCurrentIndex(1);
}

} // namespace ui
