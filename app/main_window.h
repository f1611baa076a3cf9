#pragma once
// The program's one window: the left panel with the access mode, the layout choice and the
// operation buttons; the pages; the status bar. It owns the shared state and the back-ends.

#include "core/call_thread.h"
#include "settings/program_folders.h"
#include "ui/page_host.h"

#include <QMainWindow>

#include <array>
#include <filesystem>
#include <memory>

class QButtonGroup;
class QLabel;
class QStatusBar;
class QPushButton;
class QToolButton;

namespace backend {
struct LibraryChoice;
class LibraryBackend;
enum class LibraryWay;
class IntegradorBackend;
} // namespace backend
namespace journal {
class CallRecorder;
class HistoryPage;
} // namespace journal
namespace ui {
class OperationPage;
}

namespace app {

class PageStack;

class MainWindow : public QMainWindow, public ui::PageHost {
    Q_OBJECT
public:
    // `folders`: where the INI file, the module library, the help texts and the files the
    // program writes are.
    explicit MainWindow(const settings::ProgramFolders& folders, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Access mode: item 0 "DLL", item 1 "Integrador", -1 while none is chosen.
    int accessItem() const;
    // Selects an item as a click would; the access-mode selection runs when the selection
    // changes, however it changes.
    void RadioAcessoClick(int item);
    // The selected layout of the validation ("0.06", "0.07", "0.08").
    int layoutItem() const;

    void HabBotoes();
    void DesabBotoes();
    void MostraTS_Xml_Integrador();
    void OcultaTS_Xml_Integrador();
    void CursorWait();
    void CursorDefault();
    void BtnSairClick();
    // Makes `file` the module library (the fixed name beside the program when empty): in DLL
    // mode it is loaded at once and kept only when it loads, so a library that does not leaves
    // the one in use; in the other modes it is kept for the next DLL selection.
    void useLibrary(const QString& file);

    // PageHost
    core::SharedState& state() override { return state_; }
    bool integradorMode() const override;
    std::string callModule(const core::Operation& operation,
                           const core::Arguments& arguments) override;
    void guarded(const std::function<void()>& action) override;
    core::OperationContext operationContext() const override;
    void recordAttempt(const core::CallAttempt& attempt) override;
    void cursorWait() override { CursorWait(); }
    void cursorDefault() override { CursorDefault(); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void accessModeSelected(int item);
    bool CarregaDLL(const backend::LibraryChoice& choice);
    bool loadLibrary(const std::filesystem::path& file);
    void chooseLibraryFile();
    backend::LibraryWay libraryWay();
    void buildPanel();
    void buildLibraryButton(QStatusBar* bar);
    void setPanelKeyboardOrder();
    void setOuterSize();
    void buildPages();
    QWidget* welcomePage() const;
    void loadHelpTexts();
    void showWelcomePage();
    void enterPage(int page);
    void setStatusPanel1(const QString& text);
    void writeIntegradorTemplates();
    void reportSkippedAnswerFiles();
    void startJournal();
    void showHistory();

    settings::ProgramFolders folders_;
    core::SharedState state_;
    std::unique_ptr<backend::LibraryBackend> library_;
    std::unique_ptr<backend::IntegradorBackend> integrador_;
    core::CallThread callThread_;

    QButtonGroup* radioAcesso_ = nullptr;
    QButtonGroup* rgLayout_ = nullptr;
    std::array<QPushButton*, 16> operationButtons_{}; // in page order of the catalogue
    PageStack* pageControl_ = nullptr;
    std::array<ui::OperationPage*, 16> pages_{}; // in page order of the catalogue
    QLabel* statusPanel0_ = nullptr;
    QLabel* statusPanel1_ = nullptr;
    QLabel* libraryLabel_ = nullptr; // which file is loaded, and how
    QToolButton* libraryButton_ = nullptr;
    QPushButton* historico_ = nullptr;
    QPushButton* sair_ = nullptr;
    std::unique_ptr<journal::CallRecorder> recorder_;
    journal::HistoryPage* historyPage_ = nullptr;
    bool outerSizeSet_ = false;
};

} // namespace app
