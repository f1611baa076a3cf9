// Every operation page at the window's designed size (also run at 125 % and 150 % display
// scaling): no window-level scroll bar, every button of the command sheet and the whole command
// box in sight, and every parameter edit wide enough for its typical value.

#include "core/page_names.h"
#include "core/path_text.h"
#include "journal/journal_file.h"
#include "tests/support/test_program.h"
#include "ui/qt_text.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

namespace {

// The values the edits are made to show whole.
const QString address = "192.168.001.010";
const QString code = "Ativacao-SAT-0123456789-MFe-2026"; // 32 characters
const QString cnpj = "99.999.999/9999-99";
const QString session = "000000";
const QString port = "99999";

struct PageCase {
    const char* button;
    int page;
    QList<QPair<QString, QString>> edits; // object name, typical value; combos: their items
};

// Combos show their longest item; they are listed with an empty value.
const QList<PageCase> pageCases = {
    {"BtnConsultarSAT", 0, {}},
    {"BtnConfInterface",
     1,
     {{"CbotipoLan", ""},
      {"CbotipoInter", ""},
      {"cboProxy", ""},
      {"EdtlanIP", address},
      {"EdtlanMask", address},
      {"EdtlanGW", address},
      {"EdtlanDNS1", address},
      {"EdtlanDNS2", address},
      {"Edtproxy_ip", address},
      {"Edtproxy_porta", port},
      {"LblEdtCodRede", code}}},
    {"BtnAtivarSAT", 2, {{"EdtCodAtiv_2", code}, {"EdtCNPJContrib", cnpj}, {"cboUF", ""}}},
    {"BtnAssocAssin", 3, {{"EdtCodAtiv3", code}, {"EdtCNPJSw", cnpj}, {"EdtCNPJContrib2", cnpj}}},
    {"BtnFimAFim", 4, {{"EdtCodAtiv_4", code}}},
    {"BtnConsultarStatus", 5, {{"EdtCodAtiv_5", code}}},
    {"BtnTrocarCodigo",
     6,
     {{"EdtCodAtual", code}, {"EdtNovoCodigo", code}, {"EdtNovoCodigo2", code}}},
    {"BtnExtrairLogs", 7, {{"EdtCodAtiv_7", code}}},
    {"BtnEnviarDadosVenda", 8, {{"EdtCodAtiv_8", code}}},
    {"BtnCancelarUltVenda", 9, {{"EdtCodAtiv_9", code}}},
    {"BtnConsNumSessao", 10, {{"EdtCodAtiv_10", code}, {"EdtSessao", session}}},
    {"BtnBloquearSAT", 11, {{"EdtCodAtiv_11", code}}},
    {"BtnDesbloquearSAT", 12, {{"EdtCodAtiv_12", code}}},
    {"BtnAtualizarSoft", 13, {{"EdtCodAtiv_13", code}}},
    {"BtnConsultarStatusMFE", 15, {{"EdtCodAtiv_15", code}}},
    {"BtnConfInterfaceMFE", 16, {{"EdtMFEInter1", "ETHERNET"}, {"CboMFERede1", ""},
                                 {"CboMFEProxy1", ""},         {"EdtMFEIP1", address},
                                 {"EdtMFEMask1", address},     {"EdtMFEGW1", address},
                                 {"EdtMFEDNS11", address},     {"EdtMFEDNS21", address},
                                 {"EdtMFEProxyIP1", address},  {"EdtMFEProxyPorta1", port},
                                 {"EdtMFEInter2", "3G/GPRS"},  {"CboMFERede2", ""},
                                 {"CboMFEProxy2", ""},         {"EdtMFEIP2", address},
                                 {"EdtMFEMask2", address},     {"EdtMFEGW2", address},
                                 {"EdtMFEDNS12", address},     {"EdtMFEDNS22", address},
                                 {"EdtMFEProxyIP2", address},  {"EdtMFEProxyPorta2", port},
                                 {"EdtMFEPhone", "*99#"},      {"EdtMFEAPN", "zap.vivo.com.br"},
                                 {"LblEdtMFECodRede", code}}},
};

// Qt keeps a margin of two pixels on each side of the text inside the text area.
constexpr int textMargins = 4;

// The width an edit leaves its text.
int textRoom(QLineEdit* edit) {
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.rect = edit->rect();
    option.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
    const QRect room = edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
    return room.marginsRemoved(edit->textMargins()).width() - textMargins;
}

int textRoom(QComboBox* combo) {
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.rect = combo->rect();
    option.editable = combo->isEditable();
    option.frame = combo->hasFrame();
    const QRect room = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                      QStyle::SC_ComboBoxEditField, combo);
    return room.width() - textMargins;
}

QString longestItem(const QComboBox* combo) {
    QString longest;
    for (int i = 0; i < combo->count(); ++i)
        if (combo->fontMetrics().horizontalAdvance(combo->itemText(i)) >
            combo->fontMetrics().horizontalAdvance(longest))
            longest = combo->itemText(i);
    return longest;
}

// Whether all of `widget` is inside `area` (in window coordinates) and no ancestor cuts it off.
bool wholeInside(const QWidget* widget, const QRect& area) {
    const QRect rect(widget->mapTo(widget->window(), QPoint()), widget->size());
    return area.contains(rect) && widget->visibleRegion().boundingRect() == widget->rect();
}

} // namespace

class PageFitTest : public QObject {
    Q_OBJECT

    testing_support::TestProgram program;
    std::unique_ptr<app::MainWindow> window;

    template <typename T> T* child(const QString& name) {
        T* widget = window->findChild<T*>(name);
        if (!widget)
            qFatal("no widget %s", qPrintable(name));
        return widget;
    }

private slots:
    void initTestCase() {
        program.installFakeLibrary();
        program.writeIni("[DEFAULT]\r\nACESSO=DLL\r\n");
        window = program.start();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTRY_COMPARE(window->frameGeometry().size(), QSize(768, 628));
        // Display scaling (QT_SCALE_FACTOR in the scaled runs) draws that size larger on screen.
        const QString scale = qEnvironmentVariable("QT_SCALE_FACTOR", "1");
        QCOMPARE(window->devicePixelRatio(), scale.toDouble());
    }

    // The designed size is the window's outer size: on Windows its frame (8 pixels at the
    // sides and bottom, a 31-pixel caption on Windows 10 at 100 %) comes out of it. (Measured
    // with Windows' fonts, which the Windows build's tests have.)
    void everyPageFitsTheDesignedWindow_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QSize>("frame");
        for (int i = 0; i < pageCases.size(); ++i) {
            QTest::newRow(pageCases[i].button) << i << QSize(0, 0);
#ifdef _WIN32
            QTest::addRow("%s in a Windows frame", pageCases[i].button) << i << QSize(16, 39);
#endif
        }
    }

    void everyPageFitsTheDesignedWindow() {
        QFETCH(int, index);
        QFETCH(QSize, frame);
        const PageCase& c = pageCases[index];
        const QString n = QString::number(c.page);
        window->resize(QSize(768, 628) - frame);
        child<QAbstractButton>(c.button)->click();
        QApplication::processEvents();

        auto* scroll = qobject_cast<QScrollArea*>(window->centralWidget());
        QVERIFY(scroll);
        // The pages share one stack, as tall as its tallest page: every page is measured.
        const QSize needed =
            child<QWidget>(ui::qs(core::pageNames(c.page)->tab))->minimumSizeHint();
        const QString sizes =
            QString("page needs %1x%2, panel %5 high, window gives %3x%4 to %6x%7")
                .arg(needed.width())
                .arg(needed.height())
                .arg(scroll->viewport()->width() - child<QWidget>("PanelBtns")->width())
                .arg(scroll->viewport()->height())
                .arg(child<QWidget>("PanelBtns")->minimumSizeHint().height())
                .arg(scroll->widget()->minimumSizeHint().width())
                .arg(scroll->widget()->minimumSizeHint().height());
        QVERIFY2(!scroll->verticalScrollBar()->isVisible(),
                 qPrintable("vertical scroll bar; " + sizes));
        QVERIFY2(!scroll->horizontalScrollBar()->isVisible(),
                 qPrintable("horizontal scroll bar; " + sizes));
        const QRect visible(scroll->viewport()->mapTo(window.get(), QPoint()),
                            scroll->viewport()->size());

        // The command sheet, with every button of the page and the command box.
        auto* pages = child<QTabWidget>(ui::qs(core::pageNames(c.page)->subControl));
        pages->setCurrentIndex(0);
        QApplication::processEvents();
        for (QAbstractButton* button : pages->currentWidget()->findChildren<QAbstractButton*>()) {
            if (!button->isVisibleTo(window.get()))
                continue;
            QVERIFY2(wholeInside(button, visible),
                     qPrintable(button->objectName() + " \"" + button->text() + "\""));
        }
        auto* commandBox = child<QPlainTextEdit>("MemoComando_" + n);
        QVERIFY2(wholeInside(commandBox, visible), "command box");
        QVERIFY2(commandBox->viewport()->height() >= 4 * commandBox->fontMetrics().lineSpacing(),
                 qPrintable(QString("command box %1 px high").arg(commandBox->height())));

        for (const auto& [name, typical] : c.edits) {
            if (auto* combo = window->findChild<QComboBox*>(name)) {
                const QString longest = longestItem(combo);
                QVERIFY2(combo->fontMetrics().horizontalAdvance(longest) <= textRoom(combo),
                         qPrintable(QString("%1 cuts \"%2\": %3 px for %4")
                                        .arg(name, longest)
                                        .arg(textRoom(combo))
                                        .arg(combo->fontMetrics().horizontalAdvance(longest))));
                continue;
            }
            auto* edit = child<QLineEdit>(name);
            QVERIFY2(edit->fontMetrics().horizontalAdvance(typical) <= textRoom(edit),
                     qPrintable(QString("%1 cuts \"%2\": %3 px for %4")
                                    .arg(name, typical)
                                    .arg(textRoom(edit))
                                    .arg(edit->fontMetrics().horizontalAdvance(typical))));
        }
    }

    // The journal's columns at the designed size, for a long call: no horizontal scroll bar; the
    // start (without its offset), operation, code and duration whole; the outcome and origin
    // whole in their tool tips.
    void theHistoryColumnsFitTheDesignedWindow() {
        {
            journal::Journal journal(journal::journalPath(
                core::pathFromUtf8(program.path("tarvikplus").toStdString()).parent_path()));
            journal::CallEntry call;
            call.start = std::chrono::system_clock::now();
            call.startLocal = "2026-12-11 00:23:44 -0300";
            call.duration = std::chrono::microseconds(123456789);
            call.frontEnd = "janela";
            call.accessMode = "INTEGRADOR";
            call.operation = "ConsultarStatusOperacional";
            call.answerCode = "10000";
            call.outcome = journal::Outcome::LibraryCrashed;
            journal.record(call);
        }
        window->resize(768, 628);
        child<QAbstractButton>("BtnHistorico")->click();
        QApplication::processEvents();
        auto* table = child<QTableWidget>("GridChamadas");
        QCOMPARE(table->rowCount(), 1);
        QVERIFY(!table->horizontalScrollBar()->isVisible());
        // The text's width plus the cell's margins: 2 × (focus frame margin + 1).
        const int margins =
            2 * (table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1);
        QCOMPARE(table->item(0, 0)->text(), QString("2026-12-11 00:23:44"));
        QCOMPARE(table->item(0, 3)->toolTip(), QString("biblioteca encerrada"));
        QCOMPARE(table->item(0, 5)->toolTip(), QString("janela INTEGRADOR"));
        for (int column : {0, 1, 2, 4}) {
            const QString text = table->item(0, column)->text();
            const int needed = table->fontMetrics().horizontalAdvance(text) + margins;
            QVERIFY2(table->columnWidth(column) >= needed,
                     qPrintable(QString("\"%1\" needs %2 px, has %3")
                                    .arg(text)
                                    .arg(needed)
                                    .arg(table->columnWidth(column))));
        }
        QVERIFY(table->horizontalHeader()->length() <= table->viewport()->width());
    }

    void cleanupTestCase() {
        window.reset();
    }
};

QTEST_MAIN(PageFitTest)
#include "page_fit_test.moc"
