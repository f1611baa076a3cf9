#include "tests/support/page_driver.h"
#include "tests/support/test_program.h"

#include "app/page_table.h"
#include "registry/definitions.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

using testing_support::readFile;
using testing_support::writeFile;

class MainWindowTest : public QObject {
    Q_OBJECT

    testing_support::TestProgram program;
    QStringList& recorded = program.dialogs.shown;

    QString ini() const { return program.path("tarvikplus.ini"); }
    std::unique_ptr<app::MainWindow> start() { return program.start(); }

    static QList<QPushButton*> operationButtons(app::MainWindow& w) {
        QList<QPushButton*> buttons;
        for (auto* b : w.findChild<QWidget*>("PanelBtns")->findChildren<QPushButton*>())
            if (b->objectName() != "BtnSair" && b->objectName() != "BtnHistorico")
                buttons << b;
        return buttons;
    }

    static bool allEnabled(app::MainWindow& w, bool enabled) {
        const auto buttons = operationButtons(w);
        return buttons.size() == 16 && std::all_of(buttons.begin(), buttons.end(), [&](auto* b) {
                   return b->isEnabled() == enabled;
               });
    }

    static int visibleIntegradorTabs(app::MainWindow& w) {
        int visible = 0;
        for (auto* pc : w.findChild<QStackedWidget*>("PageControl")->findChildren<QTabWidget*>())
            visible += pc->isTabVisible(3) ? 1 : 0;
        return visible;
    }

    static QString width() { return sizeof(void*) == 8 ? "(64 bits)" : "(32 bits)"; }
    static QString baseTitle() { return "Tarvik VEXOR " + width() + " - Versão " TARVIK_VERSION; }

    // The fake library under a maker's name of its own, in a folder of its own.
    QString makersLibrary() {
#ifdef _WIN32
        return program.installFakeLibraryAs("fabricante/fabricante.dll");
#else
        return program.installFakeLibraryAs("fabricante/libfabricante.so");
#endif
    }

    // Picks `file` in the library's file dialog, as the technician does.
    static void chooseInDialog(app::MainWindow& w, const QString& file) {
        bool shown = false;
        QTimer::singleShot(0, &w, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QCOMPARE(dialog->objectName(), QString("DlgBiblioteca"));
            shown = true;
            dialog->selectFile(file);
            static_cast<QDialog*>(dialog)->accept(); // QFileDialog::accept checks the file
        });
        w.findChild<QAction*>("ActEscolherBiblioteca")->trigger();
        QVERIFY(shown);
    }

    static QString libraryLabel(app::MainWindow& w) {
        return w.findChild<QLabel*>("LblBiblioteca")->text();
    }

    static int currentPage(app::MainWindow& w) {
        return w.findChild<QStackedWidget*>("PageControl")->currentIndex();
    }

private slots:
    void init() {
        program.removeIni();
        program.removeLibrary();
    }

    // The command line offers exactly the operations that have a definition; the window must
    // have a page for each of them and for no other.
    void everyDefinedOperationHasAPageAndNoPageLacksADefinition() {
        QSet<int> defined;
        for (const auto& definition : registry::definitions())
            defined << definition.operation.page;
        QSet<int> withPage;
        for (const auto& factory : app::pageFactories())
            withPage << factory.page;
        QCOMPARE(withPage, defined);
    }

    // The licence notices a Windows folder ships open from the welcome page; a folder without
    // them (a Linux build or installation) shows no link.
    void welcomePageLinksTheNoticesOnlyWhenTheFolderHasThem() {
        program.writeIni("[DEFAULT]\r\nACESSO=DLL\r\n");
        const QString notices = program.path("NOTICES.txt");
        QFile::remove(notices);
        QVERIFY(!start()->findChild<QLabel*>("LblAvisos"));
        writeFile(notices, "notices");
        auto w = start();
        auto* link = w->findChild<QLabel*>("LblAvisos");
        QFile::remove(notices);
        QVERIFY(link);
        QVERIFY(link->openExternalLinks());
        QVERIFY2(link->text().contains(QUrl::fromLocalFile(notices).toString()),
                 qPrintable(link->text()));
        QVERIFY(w->findChild<QLabel*>("TabBemVindo")->isAncestorOf(link));
    }

    void startsWithoutIniAskingForTheAccessMode() {
        auto w = start();
        QCOMPARE(recorded.size(), 1);
        QVERIFY(recorded[0].startsWith("information:Atenção!!!\nPara correto funciomento"));
        QVERIFY(recorded[0].endsWith("|Ok"));
        QVERIFY(!recorded[0].contains('\r'));
        QVERIFY(allEnabled(*w, false));
        QVERIFY(w->findChild<QPushButton*>("BtnSair")->isEnabled());
        QVERIFY(w->findChild<QWidget*>("RadioAcesso")->isEnabled());
        QVERIFY(w->findChild<QWidget*>("rgLayout")->isEnabled());
        QCOMPARE(w->accessItem(), -1);
        QCOMPARE(currentPage(*w), 14);
        QCOMPARE(visibleIntegradorTabs(*w), 0);
        QCOMPARE(w->windowTitle(), baseTitle());
    }

    void choosingIntegradorIsStoredAndRestored() {
        {
            auto w = start();
            w->findChild<QAbstractButton*>("RadioAcesso_1")->click();
            QCOMPARE(readFile(ini()), QString("[DEFAULT]\r\nACESSO=INTEGRADOR\r\n"));
            QVERIFY(w->windowTitle().endsWith("  --  Acesso pelo Integrador  --  "));
            QVERIFY(allEnabled(*w, true));
            QCOMPARE(visibleIntegradorTabs(*w), 16);
            QCOMPARE(currentPage(*w), 14);

            // The item already selected: nothing happens and nothing is written.
            QFile::remove(ini());
            w->findChild<QAbstractButton*>("RadioAcesso_1")->click();
            QVERIFY(!QFile::exists(ini()));
        }
        writeFile(ini(), "[DEFAULT]\r\nACESSO=INTEGRADOR\r\n");
        auto restarted = start();
        QVERIFY(recorded.isEmpty());
        QCOMPARE(restarted->accessItem(), 1);
        QVERIFY(allEnabled(*restarted, true));
        QCOMPARE(visibleIntegradorTabs(*restarted), 16);
    }

    void lowerCaseIniValueIsLikeNoIni() {
        writeFile(ini(), "[DEFAULT]\nACESSO=dll\n");
        auto w = start();
        QCOMPARE(w->accessItem(), -1);
        QVERIFY(allEnabled(*w, false));
        QCOMPARE(recorded.size(), 1);
    }

    void quotedIniValueIsReadWithoutItsQuotes() {
        writeFile(ini(), "[DEFAULT]\r\nACESSO=\"INTEGRADOR\"\r\n");
        auto w = start();
        QVERIFY(recorded.isEmpty());
        QCOMPARE(w->accessItem(), 1);
        QVERIFY(allEnabled(*w, true));
    }

    void theModeFollowsTheSelectionHoweverItChangesOncePerChange() {
        auto w = start();
        recorded.clear();
        // Selected by the program (as an accessibility tool would), not clicked.
        w->findChild<QRadioButton*>("RadioAcesso_1")->setChecked(true);
        QVERIFY(w->integradorMode());
        QCOMPARE(readFile(ini()), QString("[DEFAULT]\r\nACESSO=INTEGRADOR\r\n"));
        QVERIFY(allEnabled(*w, true));
        w->findChild<QRadioButton*>("RadioAcesso_0")->setChecked(true);
        QCOMPARE(recorded, QStringList{"message:DLL: \"" TARVIK_LIBRARY_NAME "\" Não encontrada"});
        QVERIFY(!w->integradorMode());
        QVERIFY(allEnabled(*w, false));
        QVERIFY(readFile(ini()).contains("ACESSO=DLL"));
        // Choosing the selected item again does nothing.
        w->RadioAcessoClick(0);
        w->findChild<QAbstractButton*>("RadioAcesso_0")->click();
        QCOMPARE(recorded.size(), 1);

        w->findChild<QRadioButton*>("rgLayout_2")->setChecked(true);
        QCOMPARE(w->layoutItem(), 2);
    }

    void missingLibraryIsReportedOnceThenIntegradorWorks() {
        writeFile(ini(), "[DEFAULT]\r\nACESSO=DLL\r\n");
        auto w = start();
        QCOMPARE(recorded, QStringList{"message:DLL: \"" TARVIK_LIBRARY_NAME "\" Não encontrada"});
        QVERIFY(!w->windowTitle().contains("--"));
        QVERIFY(allEnabled(*w, false));
        QCOMPARE(w->accessItem(), 0);
        QVERIFY(readFile(ini()).contains("ACESSO=DLL"));
        w->findChild<QAbstractButton*>("RadioAcesso_1")->click();
        QVERIFY(allEnabled(*w, true));
    }

    // Through the library host, the window's default.
    void libraryThatCannotBeLoadedIsReportedInTheInformationBox() {
        program.installLibraryHost();
        writeFile(program.path(TARVIK_LIBRARY_NAME), "not a library");
        writeFile(ini(), "[DEFAULT]\r\nACESSO=DLL\r\n");
        auto w = start();
#ifdef _WIN32
        // Windows: the version is read from the file's resources before the load, and a file
        // that is no DLL has none: the system's error is what the window reports.
        QCOMPARE(recorded.size(), 1);
        QVERIFY2(recorded[0].startsWith("error:System Error.  Code: 18"), qPrintable(recorded[0]));
#else
        QCOMPARE(recorded, QStringList{"information:Atenção!!! Erro na carga da DLL.\nVerifique se "
                                       "DLL e o driver instalado são compatíveis.|Ok"});
#endif
        QCOMPARE(w->windowTitle(), baseTitle());
        QVERIFY(allEnabled(*w, false));
        QCOMPARE(w->findChild<QLabel*>("StatusBarPanel1")->text(), QString());
        QCOMPARE(currentPage(*w), 14);
    }

    void loadedLibraryShowsItsVersionAndOneSuffix() {
        program.installLibraryHost();
        program.installFakeLibrary();
        auto w = start();
        w->findChild<QAbstractButton*>("RadioAcesso_0")->click();
        QVERIFY(w->windowTitle().endsWith("  --  Acesso pela DLL  --"));
        auto* panel1 = w->findChild<QLabel*>("StatusBarPanel1");
        QCOMPARE(panel1->text(), "Versão da DLL " + width() + ": 3.2.1");
        // Once, whole, in the window's own font: the panel grows rather than the text shrinks.
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QCOMPARE(panel1->font().pointSizeF(), w->font().pointSizeF());
        QVERIFY(panel1->fontMetrics().horizontalAdvance(panel1->text()) <=
                panel1->contentsRect().width());
        // The loaded file and its way fit beside it, at the window's designed width.
        auto* library = w->findChild<QLabel*>("LblBiblioteca");
        QVERIFY2(library->fontMetrics().horizontalAdvance(library->text()) <=
                     library->contentsRect().width(),
                 qPrintable(library->text() + " " + QString::number(library->width())));
        for (auto* label : w->statusBar()->findChildren<QLabel*>())
            QVERIFY2(label == panel1 || !label->text().contains("3.2.1"),
                     qPrintable(label->objectName()));
        QVERIFY(allEnabled(*w, true));
        QCOMPARE(visibleIntegradorTabs(*w), 0);

        w->findChild<QAbstractButton*>("RadioAcesso_1")->click();
        QCOMPARE(w->findChild<QLabel*>("StatusBarPanel1")->text(), QString());
        w->findChild<QAbstractButton*>("RadioAcesso_0")->click();
        QCOMPARE(w->windowTitle().count("--  Acesso pela DLL  --"), 1);
        QVERIFY(!w->windowTitle().contains("Integrador"));
    }

    // A maker's library chosen in the window is loaded at once, named in the status bar, called,
    // and kept in the INI file for the next start.
    void aChosenLibraryIsLoadedNamedCalledAndKept() {
        testing_support::FakeLibrary fake;
        program.writeIni("[DEFAULT]\r\nACESSO=DLL\r\n");
        const QString chosen = makersLibrary();
        const QString name = QFileInfo(chosen).fileName();
        {
            auto w = start();
            QCOMPARE(recorded.size(), 1); // the fixed name is not there
            QVERIFY(allEnabled(*w, false));
            chooseInDialog(*w, chosen);
            QCOMPARE(recorded.size(), 1);
            QCOMPARE(libraryLabel(*w), "Biblioteca: " + name + " (no processo da janela)");
            QCOMPARE(w->findChild<QLabel*>("LblBiblioteca")->toolTip(), chosen);
            QCOMPARE(w->findChild<QLabel*>("StatusBarPanel1")->text(),
                     "Versão da DLL " + width() + ": 3.2.1");
            QVERIFY(allEnabled(*w, true));
            QVERIFY(w->windowTitle().endsWith("  --  Acesso pela DLL  --"));
            QVERIFY2(readFile(ini()).contains("BIBLIOTECA=" + chosen), qPrintable(readFile(ini())));

            const int before = fake.callCount();
            testing_support::PageDriver page(*w);
            page.enter("BtnConsultarSAT");
            page.click("BtnMostra_0");
            page.click("BtnExecuta_0");
            QCOMPARE(fake.callCount(), before + 1);
            QVERIFY2(fake.lastCall().startsWith("ConsultarSAT|"), qPrintable(fake.lastCall()));
        }
        auto restarted = start();
        QVERIFY2(recorded.isEmpty(), qPrintable(recorded.join('\n')));
        QCOMPARE(libraryLabel(*restarted), "Biblioteca: " + name + " (no processo da janela)");
        QVERIFY(allEnabled(*restarted, true));

        // Back to the fixed name, which is not there: the chosen library stays in use and kept.
        restarted->findChild<QAction*>("ActBibliotecaPadrao")->trigger();
        QCOMPARE(recorded.size(), 1);
        QVERIFY2(recorded[0].startsWith("message:DLL: \"") &&
                     recorded[0].endsWith(TARVIK_LIBRARY_NAME "\" Não encontrada"),
                 qPrintable(recorded[0]));
        QCOMPARE(libraryLabel(*restarted), "Biblioteca: " + name + " (no processo da janela)");
        QVERIFY(allEnabled(*restarted, true));
        QVERIFY(readFile(ini()).contains("BIBLIOTECA=" + chosen));

        // Once it is there, the fixed name is loaded and the choice forgotten.
        program.installFakeLibrary();
        restarted->findChild<QAction*>("ActBibliotecaPadrao")->trigger();
        QCOMPARE(recorded.size(), 1);
        QCOMPARE(libraryLabel(*restarted),
                 QString("Biblioteca: " TARVIK_LIBRARY_NAME " (no processo da janela)"));
        QVERIFY(readFile(ini()).contains("BIBLIOTECA=\r\n"));
    }

    // A chosen file that cannot be loaded leaves the library in use and the INI file as they were.
    void aChosenFileThatDoesNotLoadLeavesTheLibraryInUse() {
        program.installFakeLibrary();
        program.writeIni("[DEFAULT]\r\nACESSO=DLL\r\n");
        const QString broken = program.path("quebrada/libquebrada.so");
        writeFile(broken, "not a library");
        auto w = start();
        QVERIFY(recorded.isEmpty());
        const QString iniBefore = readFile(ini());
        w->guarded([&] { w->useLibrary(broken); }); // as the menu's action runs it
        QCOMPARE(recorded.size(), 1);
#ifdef _WIN32
        // Windows reads the version resource first, and a file that is no DLL has none.
        QVERIFY2(recorded[0].startsWith("error:"), qPrintable(recorded[0]));
#else
        QVERIFY2(recorded[0].startsWith("information:Atenção!!! Erro na carga da DLL.") &&
                     recorded[0].endsWith("\nArquivo: " + broken + "|Ok"),
                 qPrintable(recorded[0]));
#endif
        QCOMPARE(libraryLabel(*w),
                 QString("Biblioteca: " TARVIK_LIBRARY_NAME " (no processo da janela)"));
        QVERIFY(allEnabled(*w, true));
        QCOMPARE(readFile(ini()), iniBefore);

        // A name the system will not even look up (too long) is not there either: said in
        // Portuguese, not in the system's English error.
        w->useLibrary(program.path(QString(300, 'x') + ".so"));
        QCOMPARE(recorded.size(), 2);
        QVERIFY2(recorded[1].startsWith("message:DLL: \""), qPrintable(recorded[1]));
        QVERIFY(allEnabled(*w, true));
        QCOMPARE(readFile(ini()), iniBefore);
    }

    // A kept choice whose file has gone is named, with where it is kept, and stays kept.
    void aChosenLibraryThatIsGoneIsNamedAtStartAndKept() {
        program.installFakeLibrary(); // the fixed name is not taken instead
        const QString gone = QDir::toNativeSeparators(program.path("sumiu/libsumiu.so"));
        program.writeIni("[DEFAULT]\r\nACESSO=DLL\r\nBIBLIOTECA=" + gone.toUtf8() + "\r\n");
        auto w = start();
        QCOMPARE(recorded.size(), 1);
        QVERIFY2(recorded[0].startsWith("message:DLL: \"" + gone + "\" Não encontrada\n"),
                 qPrintable(recorded[0]));
        QVERIFY2(recorded[0].contains("BIBLIOTECA em " + QDir::toNativeSeparators(ini())),
                 qPrintable(recorded[0]));
        QVERIFY(allEnabled(*w, false));
        QCOMPARE(libraryLabel(*w), QString());
        QVERIFY(readFile(ini()).contains("BIBLIOTECA=" + gone));

        // In Integrador mode a choice is only kept, for the next DLL selection.
        w->findChild<QAbstractButton*>("RadioAcesso_1")->click();
        const QString chosen = makersLibrary();
        w->useLibrary(chosen);
        QCOMPARE(recorded.size(), 1);
        QVERIFY(w->integradorMode());
        QVERIFY(readFile(ini()).contains("BIBLIOTECA=" + chosen));
        w->findChild<QAbstractButton*>("RadioAcesso_0")->click();
        QCOMPARE(recorded.size(), 1);
        QCOMPARE(libraryLabel(*w),
                 "Biblioteca: " + QFileInfo(chosen).fileName() + " (no processo da janela)");
    }

    void unwritableIniStopsTheSelection() {
        auto w = start();
        QVERIFY(QDir().mkpath(ini())); // a folder where the file should be
        recorded.clear();
        w->findChild<QAbstractButton*>("RadioAcesso_1")->click();
        QCOMPARE(recorded,
                 QStringList{"error:Unable to write to " + QDir::toNativeSeparators(ini())});
        QVERIFY(allEnabled(*w, false));
        QVERIFY(!w->windowTitle().contains("--"));
        QVERIFY(QDir(ini()).removeRecursively());
    }

    void panelListsTheOperationsInItsOwnOrder() {
        auto w = start();
        const auto buttons = operationButtons(*w);
        QCOMPARE(buttons.size(), 16);
        QCOMPARE(buttons[2]->objectName(), QString("BtnConfInterfaceMFE"));
        QCOMPARE(buttons[7]->objectName(), QString("BtnConsultarStatusMFE"));
    }

    void everyCaptionFitsItsButton() {
        auto w = start();
        for (auto* button : w->findChild<QWidget*>("PanelBtns")->findChildren<QPushButton*>()) {
            QStyleOptionButton option;
            option.initFrom(button);
            option.rect = button->rect();
            const QRect room =
                button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) <= room.width(),
                     qPrintable(button->text()));
            const bool lastRow =
                button->objectName() == "BtnHistorico" || button->objectName() == "BtnSair";
            QCOMPARE(button->size(), lastRow ? QSize(81, 28) : QSize(162, 28));
        }
        QCOMPARE(w->findChild<QWidget*>("PanelBtns")->width(), 164);
    }

    void keyboardOrderOfThePanelEndsWithTheAccessMode() {
        auto w = start();
        QStringList expected{"rgLayout_0", "rgLayout_1", "rgLayout_2"};
        for (auto* button : operationButtons(*w))
            expected << button->objectName();
        expected << "BtnHistorico"
                 << "BtnSair"
                 << "RadioAcesso_0"
                 << "RadioAcesso_1";

        // From the first item on, one unbroken run of the panel's controls, then the pages.
        QWidget* panel = w->findChild<QWidget*>("PanelBtns");
        QStringList order;
        for (QWidget* widget = w->findChild<QWidget*>("rgLayout_0");
             panel->isAncestorOf(widget) || !(widget->focusPolicy() & Qt::TabFocus);
             widget = widget->nextInFocusChain())
            if (widget->focusPolicy() & Qt::TabFocus)
                order << widget->objectName();
        QCOMPARE(order, expected);
    }

    void frameTitleAndStatusBarKeepTheirDesignedSizes() {
        auto w = start();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QTRY_COMPARE(w->frameGeometry().size(), QSize(768, 628));

        auto* panel0 = w->findChild<QLabel*>("StatusBarPanel0");
        auto* panel1 = w->findChild<QLabel*>("StatusBarPanel1");
        QCOMPARE(panel0->width(), 250);
        QCOMPARE(panel1->width(), 150);
        QCOMPARE(panel1->alignment(), Qt::AlignRight | Qt::AlignVCenter);

        // The title panel falls back to the same family as the rest of the window.
        auto* title = w->findChild<QLabel*>("PanelTitulo_5");
        title->ensurePolished();
        QCOMPARE(title->font().family(), w->font().family());
        QCOMPARE(title->font().pointSize(), 12);
        QVERIFY(title->font().bold());
    }

    void helpTextsOnlyWhereTheirFileIs() {
        QDir(program.path("")).mkpath("HELP");
        writeFile(program.path("HELP/ConsultarStatusOperacionalMFE.HLP"),
                  R"({\rtf1\ansi Estado estendido do MF-e\par})");
        writeFile(ini(), "[DEFAULT]\r\nACESSO=INTEGRADOR\r\n");
        auto w = start();
        w->findChild<QPushButton*>("BtnConsultarStatusMFE")->click();
        auto* pc15 = w->findChild<QTabWidget*>("PCConsultarStatusMFE");
        QVERIFY(pc15->isTabVisible(2));
        QCOMPARE(pc15->currentIndex(), 2);
        QCOMPARE(w->findChild<QTextEdit*>("REConsultarStatusMFE")->toPlainText(),
                 QString("Estado estendido do MF-e"));
        w->findChild<QPushButton*>("BtnConsultarStatus")->click();
        auto* pc5 = w->findChild<QTabWidget*>("PCConsultarStatus");
        QVERIFY(!pc5->isTabVisible(2));
        QCOMPARE(pc5->currentIndex(), 0);
        QDir(program.path("HELP")).removeRecursively();
    }

    // The help of every operation goes after each page's own, on the pages that have one.
    void generalHelpFollowsEachPagesOwn() {
        QDir(program.path("")).mkpath("HELP");
        writeFile(program.path("HELP/ConsultarSAT.HLP"),
                  R"({\rtf1\ansi Consulta o m\'f3dulo\par})");
        writeFile(program.path("HELP/Geral.HLP"), R"({\rtf1\ansi Cancelar\par Hist\'f3rico\par})");
        writeFile(ini(), "[DEFAULT]\r\nACESSO=INTEGRADOR\r\n");
        auto w = start();
        w->findChild<QPushButton*>("BtnConsultarSAT")->click();
        QCOMPARE(w->findChild<QTextEdit*>("REConsultarSAT")->toPlainText(),
                 QString("Consulta o módulo\n\nCancelar\nHistórico"));
        w->findChild<QPushButton*>("BtnConsultarStatus")->click();
        QVERIFY(!w->findChild<QTabWidget*>("PCConsultarStatus")->isTabVisible(2));
        QDir(program.path("HELP")).removeRecursively();
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
