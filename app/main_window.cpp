#include "app/main_window.h"

#include "access/driver_library.h"
#include "access/integrador_answer.h"
#include "access/integrador_backend.h"
#include "access/integrador_request.h"
#include "access/library_backend.h"
#include "access/library_choice.h"
#include "access/library_ended.h"
#include "app/page_stack.h"
#include "app/page_table.h"
#include "core/error_text.h"
#include "core/path_text.h"
#include "core/session_number.h"
#include "core/text.h"
#ifdef TARVIK_RECEIPT_DRAWING
#include "documents/recorded_receipt_page.h"
#include "receipt/receipt_preview_page.h"
#endif
#include "help/help_text.h"
#include "journal/call_recorder.h"
#include "journal/history_page.h"
#include "journal/retention.h"
#include "operations/ativar_sat_page.h"
#include "registry/definitions.h"
#include "settings/ini_file.h"
#include "settings/program_info.h"
#include "ui/dialogs.h"
#include "ui/fonts.h"
#include "ui/module_call_dialog.h"
#include "ui/qt_text.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <filesystem>

// Resources of a static library are registered by hand.
static void registerResources() {
    Q_INIT_RESOURCE(tarvik);
}

namespace app {
namespace {

using ui::qs;

constexpr int panelWidth = 164;
constexpr QSize buttonSize{162, 28};
constexpr QSize outerSize{768, 628}; // the window with its frame

// A radio group in the style of the left panel: a titled box with its items in columns.
QButtonGroup* radioGroup(QWidget* panel, const QString& name, const QString& title,
                         const QStringList& items, int columns, int height) {
    auto* box = new QGroupBox(title, panel);
    box->setObjectName(name);
    box->setFixedSize(buttonSize.width(), height);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(4, 0, 4, 0);
    auto* group = new QButtonGroup(box);
    group->setObjectName(name + "Group");
    for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items[i], box);
        radio->setObjectName(name + "_" + QString::number(i));
        grid->addWidget(radio, i / columns, i % columns);
        group->addButton(radio, i);
    }
    return group;
}

QWidget* boxOf(QButtonGroup* group) {
    return qobject_cast<QWidget*>(group->parent());
}

// The width the style leaves a button's caption: a wider caption is cut.
int captionRoom(const QPushButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.rect = QRect(QPoint(), button.size());
    return button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button).width();
}

// A text that does not fit the `room` of its widget is set half a point smaller at a time until
// it does, so the panel and the status bar keep their widths whatever the font the system
// falls back to.
void fitText(QWidget& widget, const QString& text, int room) {
    constexpr double smallest = 5.0;
    QFont font = widget.parentWidget()->font();
    while (QFontMetrics(font).horizontalAdvance(text) > room && font.pointSizeF() > smallest)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    widget.setFont(font);
}

// A file that cannot even be looked at (a folder the user may not read) is as good as absent:
// the message then names it, in place of the system's English text.
bool fileThere(const std::filesystem::path& file) {
    std::error_code ec;
    return std::filesystem::exists(file, ec);
}

int catalogueIndex(int page) {
    return page < core::welcomePage ? page : page - 1;
}

} // namespace

MainWindow::MainWindow(const settings::ProgramFolders& folders, QWidget* parent)
    : QMainWindow(parent), folders_(folders),
      integrador_(std::make_unique<backend::IntegradorBackend>(
          backend::integradorFolders(folders_.data), state_)) {
    registerResources();
    setObjectName("FTarvik");
    QFont font(ui::interfaceFamily());
    font.setPointSize(8);
    setFont(font);
    setWindowIcon(QIcon(":/tarvik/icon.png"));
    buildPanel();
    buildPages();

    auto* central = new QWidget;
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(findChild<QWidget*>("PanelBtns"));
    layout->addWidget(pageControl_, 1);
    auto* scroll = new QScrollArea;
    scroll->setWidget(central);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    central->setMinimumSize(640, 540);
    setCentralWidget(scroll);
    setPanelKeyboardOrder();

    auto* bar = new QStatusBar(this);
    bar->setObjectName("StatusBar");
    bar->setFixedHeight(19);
    bar->setSizeGripEnabled(false);
    statusPanel0_ = new QLabel("Tarvik - Vexor Informática");
    statusPanel0_->setObjectName("StatusBarPanel0");
    statusPanel0_->setFixedWidth(250);
    statusPanel1_ = new QLabel("Versão:");
    statusPanel1_->setObjectName("StatusBarPanel1");
    // Wider when the version needs it: a smaller font would make it unreadable.
    statusPanel1_->setMinimumWidth(150);
    statusPanel1_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bar->addWidget(statusPanel0_);
    bar->addWidget(statusPanel1_);
    // The loaded library's file and way, in the room the two panels leave (the left panel has
    // none to spare); its full path in the tool tip.
    libraryLabel_ = new QLabel;
    libraryLabel_->setObjectName("LblBiblioteca");
    libraryLabel_->setMinimumWidth(0);
    libraryLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    bar->addWidget(libraryLabel_, 1);
    buildLibraryButton(bar);
    setStatusBar(bar);

    resize(outerSize);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    FormCreate();
    recorder_ = std::make_unique<journal::CallRecorder>(
        journal::journalPath(folders_.data),
        journal::retentionFrom(core::utf8FromPath(folders_.iniFile)));
    // Opened and pruned once the window is up, so a large journal never delays its start.
    QTimer::singleShot(0, this, [this] { startJournal(); });
}

MainWindow::~MainWindow() = default;

// The frame is known once the window is shown; the outer size then counts it.
void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!outerSizeSet_) {
        outerSizeSet_ = true;
        QTimer::singleShot(0, this, &MainWindow::setOuterSize);
    }
}

void MainWindow::setOuterSize() {
    const QSize frame = frameGeometry().size() - geometry().size();
    resize(outerSize - frame);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - QRect(QPoint(), outerSize).center());
}

// The choice of the module library: a file of the technician's, or the fixed name beside the
// program.
void MainWindow::buildLibraryButton(QStatusBar* bar) {
    libraryButton_ = new QToolButton(bar);
    libraryButton_->setObjectName("BtnBiblioteca");
    libraryButton_->setText("Biblioteca…");
    libraryButton_->setAutoRaise(true);
    libraryButton_->setFocusPolicy(Qt::StrongFocus);
    libraryButton_->setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(libraryButton_);
    menu->setObjectName("MenuBiblioteca");
    QAction* choose = menu->addAction("Escolher arquivo da biblioteca…");
    choose->setObjectName("ActEscolherBiblioteca");
    connect(choose, &QAction::triggered, this,
            [this] { guarded([this] { chooseLibraryFile(); }); });
    QAction* standard = menu->addAction(qs("Usar a biblioteca padrão (" TARVIK_LIBRARY_NAME ")"));
    standard->setObjectName("ActBibliotecaPadrao");
    connect(standard, &QAction::triggered, this, [this] { guarded([this] { useLibrary({}); }); });
    libraryButton_->setMenu(menu);
    bar->addPermanentWidget(libraryButton_);
}

void MainWindow::buildPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName("PanelBtns");
    panel->setFixedWidth(panelWidth);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(1, 0, 1, 0);
    layout->setSpacing(0);

    radioAcesso_ =
        radioGroup(panel, "RadioAcesso", "Forma de acesso:", {"DLL", "Integrador"}, 2, 48);
    boxOf(radioAcesso_)->setEnabled(false);
    // The selection change itself, not a click: a change made by the program or by an
    // accessibility tool selects the mode too, once, and choosing the selected item again
    // changes nothing.
    connect(radioAcesso_, &QButtonGroup::idToggled, this, [this](int item, bool selected) {
        if (selected)
            guarded([this, item] { accessModeSelected(item); });
    });
    rgLayout_ = radioGroup(panel, "rgLayout", "Layout", {"0.06", "0.07", "0.08"}, 3, 37);
    rgLayout_->button(1)->setChecked(true);
    layout->addWidget(boxOf(radioAcesso_));
    layout->addWidget(boxOf(rgLayout_));

    for (const core::Operation* op : core::panelOrder()) {
        auto* button = new QPushButton(qs(op->name), panel);
        button->setObjectName(qs(op->button));
        button->setFixedSize(buttonSize);
        fitText(*button, button->text(), captionRoom(*button));
        const int page = op->page;
        connect(button, &QPushButton::clicked, this,
                [this, page] { guarded([this, page] { enterPage(page); }); });
        operationButtons_[std::size_t(catalogueIndex(page))] = button;
        layout->addWidget(button);
    }
    // "Histórico" and "Sair" share the last row: the panel then ends where "Sair" ends alone,
    // and fits the window's inside once Windows' frame is taken out of the designed size.
    const QSize halfButton(buttonSize.width() / 2, buttonSize.height());
    auto* lastRow = new QHBoxLayout;
    lastRow->setSpacing(0);
    historico_ = new QPushButton("Histórico", panel);
    historico_->setObjectName("BtnHistorico");
    historico_->setFixedSize(halfButton);
    connect(historico_, &QPushButton::clicked, this,
            [this] { guarded([this] { showHistory(); }); });
    lastRow->addWidget(historico_);
    sair_ = new QPushButton("Sair", panel);
    sair_->setObjectName("BtnSair");
    sair_->setFixedSize(halfButton);
    connect(sair_, &QPushButton::clicked, this, &MainWindow::BtnSairClick);
    lastRow->addWidget(sair_);
    lastRow->addStretch();
    layout->addLayout(lastRow);
    layout->addStretch();
}

// The layout choice, the operation buttons in panel order, "Sair", and the access mode last.
// Set once the panel is in the window: an order set before does not survive the move.
void MainWindow::setPanelKeyboardOrder() {
    QWidget* previous = rgLayout_->buttons().back();
    for (const core::Operation* op : core::panelOrder()) {
        QWidget* button = operationButtons_[std::size_t(catalogueIndex(op->page))];
        QWidget::setTabOrder(previous, button);
        previous = button;
    }
    QWidget::setTabOrder(previous, historico_);
    QWidget::setTabOrder(historico_, sair_);
    previous = sair_;
    for (QAbstractButton* item : radioAcesso_->buttons()) {
        QWidget::setTabOrder(previous, item);
        previous = item;
    }
}

// The welcome picture and, where the program's folder ships the licences of its libraries
// (NOTICES.txt, in the Windows folder), a link that opens them.
QWidget* MainWindow::welcomePage() const {
    auto* welcome = new QLabel;
    welcome->setObjectName("TabBemVindo");
    welcome->setAlignment(Qt::AlignCenter);
    welcome->setPixmap(QPixmap(qs(core::utf8FromPath(folders_.resources / "welcome.png"))));
    const std::filesystem::path notices = folders_.resources / "NOTICES.txt";
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(notices, ignored))
        return welcome;
    const QString url = QUrl::fromLocalFile(qs(core::utf8FromPath(notices))).toString();
    auto* link = new QLabel("<a href=\"" + url.toHtmlEscaped() + "\">Avisos de licenças</a>");
    link->setObjectName("LblAvisos");
    link->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(welcome);
    layout->addStretch();
    layout->addWidget(link, 0, Qt::AlignRight);
    return welcome;
}

void MainWindow::buildPages() {
    pageControl_ = new PageStack;
    pageControl_->setObjectName("PageControl");
    for (int page = 0; page < core::pageCount; ++page) {
        if (page == core::welcomePage) {
            pageControl_->addPage(welcomePage());
            continue;
        }
        const core::Operation& operation = *core::operationByPage(page);
        const core::OperationDefinition* definition = registry::definitionOf(operation);
        const PageFactory* factory = pageFactory(page);
        if (!definition || !factory)
            throw std::logic_error(std::string(operation.name) + " has no page");
        ui::OperationPage* operationPage = factory->make(*definition, *this);
        pages_[std::size_t(catalogueIndex(page))] = operationPage;
        pageControl_->addPage(operationPage);
    }
    historyPage_ = new journal::HistoryPage(journal::journalPath(folders_.data));
#ifdef TARVIK_RECEIPT_DRAWING
    historyPage_->setReceiptOpener([file = journal::journalPath(folders_.data)](
                                       QWidget* parent, const journal::CallEntry& call) {
        documents::showRecordedReceipt(parent, file, call);
    });
#endif
    pageControl_->addPage(historyPage_);
}

void MainWindow::FormCreate() {
    const std::string version = TARVIK_VERSION;
    setStatusPanel1("");
    state_.baseTitle = settings::baseTitle(version);
    setWindowTitle(qs(state_.baseTitle));
    state_.iniPath = core::utf8FromPath(folders_.iniFile);
#ifdef TARVIK_RECEIPT_DRAWING
    receipt::ReceiptPreviewPage::keepChoicesIn(state_.iniPath);
#endif
    state_.libraryName.clear();
    boxOf(radioAcesso_)->setEnabled(true);

    const auto stored =
        settings::readProfileString(state_.iniPath, "DEFAULT", "ACESSO").value_or("");
    if (stored == "DLL" || stored == "INTEGRADOR") {
        radioAcesso_->button(stored == "DLL" ? 0 : 1)->setChecked(true);
    } else {
        OcultaTS_Xml_Integrador();
        DesabBotoes();
        ui::dialogs().information(
            this,
            ui::messageText("Atenção!!!\n\rPara correto funciomento selecione o modo "
                            "de acesso\n\rao módulo MFE a ser utilizado."),
            windowTitle(), "Ok");
    }
    loadHelpTexts();
    operations::fillUfList(findChild<QComboBox*>("cboUF"));
    writeIntegradorTemplates();
    showWelcomePage();
}

void MainWindow::writeIntegradorTemplates() {
    const QColor black(Qt::black);
    const QColor red(Qt::red);
    for (auto* page : pages_) {
        QTextEdit* box = page->templateBox();
        box->clear();
        for (const auto& line : backend::integradorTemplate(page->operation())) {
            box->setTextColor(line.placeholder ? red : black);
            box->append(qs(line.text));
        }
        box->moveCursor(QTextCursor::Start);
    }
}

// Each page's own help, then what holds for every operation (the wait, the library, the
// journal) after it.
void MainWindow::loadHelpTexts() {
    const auto helpFile = [this](std::string_view name) {
        return qs(core::utf8FromPath(folders_.resources / "HELP" / (std::string(name) + ".HLP")));
    };
    const QString general = helpFile("Geral");
    for (auto* page : pages_) {
        const QString path = helpFile(page->operation().name);
        const bool loaded =
            QFileInfo::exists(path) && help::loadHelpFile(path, page->descriptionBox());
        if (loaded && QFileInfo::exists(general))
            help::appendHelpFile(general, page->descriptionBox());
        page->setHelpLoaded(loaded);
    }
}

int MainWindow::accessItem() const {
    return radioAcesso_->checkedId();
}

int MainWindow::layoutItem() const {
    return rgLayout_->checkedId();
}

void MainWindow::RadioAcessoClick(int item) {
    radioAcesso_->button(item)->setChecked(true);
}

void MainWindow::accessModeSelected(int item) {
    libraryLabel_->clear();
    libraryLabel_->setToolTip({});
    setWindowTitle(qs(state_.baseTitle));
    const bool dll = item == 0;
    // Installed, the INI file lives in a folder of the user's that may not exist yet.
    std::error_code ignored;
    std::filesystem::create_directories(folders_.iniFile.parent_path(), ignored);
    if (!settings::writeProfileString(state_.iniPath, "DEFAULT", "ACESSO",
                                      dll ? "DLL" : "INTEGRADOR")) {
        // Nothing may call a library that is not loaded: the selection stops with the
        // buttons disabled.
        DesabBotoes();
        ui::dialogs().error(this, qs("Unable to write to " + state_.iniPath));
        return;
    }
    state_.libraryName.clear();
    if (dll) {
        const backend::LibraryChoice choice =
            backend::chosenLibrary(state_.iniPath, folders_.modules);
        state_.libraryName = core::utf8FromPath(choice.file);
        if (!CarregaDLL(choice))
            state_.libraryName.clear();
        return;
    }
    setWindowTitle(windowTitle() + qs(settings::integradorSuffix));
    setStatusPanel1("");
    MostraTS_Xml_Integrador();
    HabBotoes();
}

bool MainWindow::CarregaDLL(const backend::LibraryChoice& choice) {
    if (!fileThere(choice.file)) {
        // The fixed name is named as it is; a chosen file by its whole path, with where the
        // choice is kept, so the technician knows what to change.
        std::string text = backend::libraryNotFoundMessage(
            choice.chosen ? core::utf8FromPath(choice.file) : TARVIK_LIBRARY_NAME);
        if (choice.chosen)
            text += "\n\r" + backend::chosenLibraryNote(state_.iniPath) +
                    "\n\rEscolha outra em \"Biblioteca…\", na barra de status.";
        ui::dialogs().message(this, ui::messageText(text));
        OcultaTS_Xml_Integrador();
        DesabBotoes();
        return false;
    }
    bool loaded = false;
    try {
        loaded = loadLibrary(choice.file);
    } catch (...) {
        DesabBotoes();
        throw;
    }
    OcultaTS_Xml_Integrador();
    if (!loaded) {
        DesabBotoes();
        return false;
    }
    HabBotoes();
    return true;
}

// Loads `file` in place of the library in use and says so in the caption and the status bar;
// a file that cannot be loaded is reported in the information box and changes nothing.
bool MainWindow::loadLibrary(const std::filesystem::path& file) {
    const std::string path = core::utf8FromPath(file);
    const std::string version = backend::libraryFileVersion(path);
    const backend::LibraryWay way = libraryWay();
    auto opened = backend::openLibrary(path, way, folders_.modules);
    if (!opened.library) {
        // A library of another architecture: the box also says which two they are.
        std::string text(backend::libraryLoadFailureMessage);
        if (opened.wrongArchitecture)
            text += "\n\r" + opened.error;
        // A file of the technician's choosing is named: there may be several at hand.
        if (file != folders_.modules / TARVIK_LIBRARY_NAME)
            text += "\n\rArquivo: " + path;
        ui::dialogs().information(this, ui::messageText(text), windowTitle(), "Ok");
        return false;
    }
    library_ = std::move(opened.library);
    state_.libraryName = path;
    const std::string shown = version.empty() ? "não informada" : version;
    setWindowTitle(qs(state_.baseTitle) + qs(settings::dllSuffix));
    setStatusPanel1(qs("Versão da DLL " +
                       backend::libraryWidth(backend::libraryArchitecture(file)) + ": " + shown));
    libraryLabel_->setText(qs(backend::loadedLibraryText(file, way)));
    libraryLabel_->setToolTip(qs(path));
    return true;
}

void MainWindow::chooseLibraryFile() {
    QFileDialog dialog(this, "Selecione a biblioteca do módulo");
    dialog.setObjectName("DlgBiblioteca");
    dialog.setFileMode(QFileDialog::ExistingFile);
#ifdef _WIN32
    dialog.setNameFilters({"Bibliotecas (*.dll)", "Todos os arquivos (*)"});
#else
    dialog.setNameFilters({"Bibliotecas (*.so *.so.*)", "Todos os arquivos (*)"});
#endif
    const auto current = backend::chosenLibrary(state_.iniPath, folders_.modules).file;
    dialog.setDirectory(qs(core::utf8FromPath(current.parent_path())));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    useLibrary(QDir::toNativeSeparators(dialog.selectedFiles().first()));
}

void MainWindow::useLibrary(const QString& file) {
    const std::filesystem::path chosen = core::pathFromUtf8(file.toStdString());
    const std::filesystem::path target =
        chosen.empty() ? folders_.modules / TARVIK_LIBRARY_NAME : chosen;
    if (accessItem() == 0) {
        if (!fileThere(target)) {
            ui::dialogs().message(this,
                                  qs(backend::libraryNotFoundMessage(core::utf8FromPath(target))));
            return;
        }
        if (!loadLibrary(target))
            return;
        OcultaTS_Xml_Integrador();
        HabBotoes();
    }
    std::error_code ignored;
    std::filesystem::create_directories(folders_.iniFile.parent_path(), ignored);
    if (!backend::storeLibraryChoice(state_.iniPath, chosen))
        ui::dialogs().error(
            this, qs("Não foi possível gravar a escolha da biblioteca em " + state_.iniPath + "."));
    else if (accessItem() != 0)
        statusBar()->showMessage(
            qs("Biblioteca escolhida: " + core::utf8FromPath(target.filename()) +
               ". É carregada ao escolher DLL."),
            15000);
}

void MainWindow::HabBotoes() {
    for (auto* button : operationButtons_)
        button->setEnabled(true);
}

void MainWindow::DesabBotoes() {
    for (auto* button : operationButtons_)
        button->setEnabled(false);
}

void MainWindow::MostraTS_Xml_Integrador() {
    for (auto* page : pages_)
        page->setIntegradorTabVisible(true);
    showWelcomePage();
}

void MainWindow::OcultaTS_Xml_Integrador() {
    for (auto* page : pages_)
        page->setIntegradorTabVisible(false);
    showWelcomePage();
}

void MainWindow::CursorWait() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void MainWindow::CursorDefault() {
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

void MainWindow::BtnSairClick() {
    close();
}

void MainWindow::showWelcomePage() {
    pageControl_->setCurrentIndex(core::welcomePage);
}

void MainWindow::enterPage(int page) {
    ui::OperationPage* target = pages_[std::size_t(catalogueIndex(page))];
    target->enter();
    pageControl_->setCurrentWidget(target);
}

void MainWindow::setStatusPanel1(const QString& text) {
    statusPanel1_->setText(text);
}

core::OperationContext MainWindow::operationContext() const {
    core::OperationContext context;
    context.programFolder = folders_.data;
    context.layout = rgLayout_->checkedButton()->text().toStdString();
    context.state = &state_;
    return context;
}

bool MainWindow::integradorMode() const {
    return accessItem() == 1;
}

std::string MainWindow::callModule(const core::Operation& operation,
                                   const core::Arguments& arguments) {
    lastCallEnd_ = core::CallEnd::Answered;
    if (integradorMode()) {
        backend::IntegradorBackend& integrador = *integrador_;
        core::WaitInfo info{std::string(operation.integradorMethod), operation.waitLimit,
                            [&integrador] { integrador.cancel(); }};
        std::string answer = ui::runWithWaitDialog(
            this, callThread_, info, [&] { return integrador.call(operation, arguments); });
        reportSkippedAnswerFiles();
        if (integrador.lastOutcome() == backend::IntegradorBackend::Outcome::Cancelled)
            lastCallEnd_ = core::CallEnd::Cancelled;
        return answer;
    }
    if (!library_)
        throw std::runtime_error("Nenhuma biblioteca carregada.");
    backend::LibraryBackend& library = *library_;
    core::WaitInfo info{std::string(operation.name), std::nullopt, {}};
    if (library.canCancel())
        info.cancel = [&library] { library.cancel(); };
    try {
        return ui::runWithWaitDialog(this, callThread_, info,
                                     [&] { return library.call(operation, arguments); });
    } catch (const backend::LibraryEnded& ended) {
        // The window stays: the answer box says why there is no answer, and the next call
        // starts the library afresh.
        lastCallEnd_ = ended.cause() == backend::LibraryEnded::Cause::Cancelled
                           ? core::CallEnd::Cancelled
                           : core::CallEnd::LibraryEnded;
        return backend::answerOfEndedCall(ended, operation, arguments.at(0).number);
    }
}

// How the library is reached: [DEFAULT] PROCESSO_DLL of the INI file, the library host when
// it is not set.
backend::LibraryWay MainWindow::libraryWay() {
    const auto stored = settings::readProfileString(state_.iniPath, "DEFAULT", "PROCESSO_DLL");
    if (!stored || stored->empty())
        return backend::LibraryWay::Host;
    if (const auto way = backend::libraryWayFromText(*stored))
        return *way;
    ui::dialogs().message(this, qs("PROCESSO_DLL=" + *stored + " não é SEPARADO nem MESMO (" +
                                   state_.iniPath + "): a biblioteca roda num processo à parte."));
    return backend::LibraryWay::Host;
}

// Answer files the last Integrador call could not read are named once, after the call.
void MainWindow::reportSkippedAnswerFiles() {
    const std::string text = backend::skippedFilesMessage(integrador_->skippedFiles());
    if (!text.empty())
        ui::dialogs().message(this, qs(text));
}

void MainWindow::startJournal() {
    for (const std::string& line : recorder_->start())
        ui::dialogs().message(this, qs(line));
}

void MainWindow::showHistory() {
    pageControl_->setCurrentWidget(historyPage_);
    historyPage_->search();
}

// Kept after the answer is shown; a journal that cannot be written says so in the status bar
// and the call's result stands.
void MainWindow::recordAttempt(const core::CallAttempt& attempt) {
    journal::CallSource source;
    source.frontEnd = "janela";
    source.layout = rgLayout_->checkedButton()->text().toStdString();
    if (integradorMode()) {
        source.accessMode = "INTEGRADOR";
        source.target =
            core::utf8FromPath(backend::integradorFolders(folders_.data).input.parent_path());
    } else {
        source.accessMode = "DLL";
        source.target = state_.libraryName;
        try {
            const std::string version = backend::libraryFileVersion(source.target);
            source.target += " (versão " + (version.empty() ? "não informada" : version) + ")";
        } catch (const std::exception&) {
            // A library without a readable version is still named.
        }
    }
    for (const std::string& line : recorder_->keep(attempt, source))
        statusBar()->showMessage(qs(line), 15000);
}

void MainWindow::guarded(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        ui::dialogs().error(this, qs(core::errorText(e)));
    } catch (...) {
        ui::dialogs().error(this, "Erro desconhecido.");
    }
}

} // namespace app
