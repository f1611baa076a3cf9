#include "ui/operation_page.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <stdexcept>

namespace {

// A window stand-in that counts what the page asks of it.
struct FakeHost : ui::PageHost {
    core::SharedState shared;
    bool integrador = false;
    int sessionDraws = 0;
    int calls = 0;
    int cursorDepth = 0;
    bool callFails = false;
    std::vector<core::CallAttempt> attempts;
    std::string answer = "000001|08000|SAT em operação||";
    std::string document;
    QStringList errors;

    core::SharedState& state() override { return shared; }
    bool integradorMode() const override { return integrador; }
    std::string drawSessionNumber() override { return "00000" + std::to_string(++sessionDraws); }
    core::Lines requestPreview(const core::Operation&, const core::Arguments&) override {
        return {"", "preview"};
    }
    std::string callModule(const core::Operation&, const core::Arguments&) override {
        ++calls;
        if (callFails)
            throw std::runtime_error("module unreachable");
        return answer;
    }
    std::string answerDocumentForDisplay() override { return document; }
    void guarded(const std::function<void()>& action) override {
        try {
            action();
        } catch (const std::exception& e) {
            errors << e.what();
        }
    }
    core::OperationContext operationContext() const override { return {}; }
    void recordAttempt(const core::CallAttempt& attempt) override { attempts.push_back(attempt); }
    void cursorWait() override { ++cursorDepth; }
    void cursorDefault() override { cursorDepth = 0; }
};

// What the test page's logic does, switched by the test.
struct Behaviour {
    bool failBeforeCall = false;
    core::Lines findings;
};
Behaviour behaviour;

// A report that writes two lines, then fails on an answer that lacks its fields.
void twoLinesThenFail(std::string_view answer, core::Lines& lines) {
    lines.push_back("report line");
    if (answer.find("|boom|") == std::string_view::npos)
        return;
    lines.push_back("second line");
    throw std::out_of_range("missing field");
}

core::OperationLogic testLogic(const core::Operation&, const core::Inputs&,
                               const core::OperationContext&) {
    core::OperationLogic logic;
    logic.analyse = [] { return behaviour.findings; };
    logic.prepare = [](const std::string& session) {
        if (behaviour.failBeforeCall)
            throw std::invalid_argument("'x' is not a valid integer value");
        return core::PreparedCall{"Op(" + session + ")", {core::Argument::integer(1, session)}, {}};
    };
    logic.report = twoLinesThenFail;
    return logic;
}

const core::OperationDefinition testDefinition{*core::operationByPage(5), {}, testLogic};

} // namespace

class OperationPageTest : public QObject {
    Q_OBJECT

    FakeHost host;
    std::unique_ptr<ui::OperationPage> page;

    QPushButton* button(const char* name) { return page->findChild<QPushButton*>(name); }
    QString box(const char* name) { return page->findChild<QPlainTextEdit*>(name)->toPlainText(); }
    QColor commandColour() {
        return page->findChild<QPlainTextEdit*>("MemoComando_5")->palette().color(QPalette::Text);
    }

private slots:
    void init() {
        host = FakeHost{};
        behaviour = Behaviour{};
        page = std::make_unique<ui::OperationPage>(testDefinition, host);
        page->enter();
    }

    void analysisWritesFindingsInRedOrOk() {
        behaviour.findings = {"a", "b"};
        button("BtnAnalisa_5")->click();
        QCOMPARE(box("MemoComando_5"), QString("a\nb"));
        QCOMPARE(commandColour(), QColor(Qt::red));
        QVERIFY(!button("BtnExecuta_5")->isEnabled());

        button("BtnMostra_5")->click(); // the call text is never red
        QVERIFY(commandColour() != QColor(Qt::red));
        behaviour.findings.clear();
        button("BtnAnalisa_5")->click();
        QCOMPARE(box("MemoComando_5"), QString("Análise OK."));
        QVERIFY(commandColour() != QColor(Qt::red));
        QCOMPARE(host.calls, 0);
    }

    void executeShowsAgainThenCallsAndReports() {
        button("BtnMostra_5")->click();
        QCOMPARE(box("MemoComando_5"), QString("Op(000001)"));
        button("BtnExecuta_5")->click();
        QCOMPARE(box("MemoComando_5"), QString("Op(000002)"));
        QCOMPARE(host.shared.sessionNumber, std::string("000002"));
        QCOMPARE(host.shared.callText, std::string("Op(000002)"));
        QCOMPARE(host.shared.answer, host.answer);
        QCOMPARE(box("MemoResposta_5"), QString("000001|08000|SAT em operação||\nreport line"));
        QCOMPARE(host.cursorDepth, 0);
        QCOMPARE(page->findChild<QTabWidget*>("PCConsultarStatus")->currentIndex(), 1);
    }

    void integradorModeAddsPreviewAndAnswerBlock() {
        host.integrador = true;
        host.document = "<Integrador/>";
        button("BtnMostra_5")->click();
        QCOMPARE(box("MemoComando_5"), QString("Op(000001)\n\npreview"));
        button("BtnExecuta_5")->click();
        QCOMPARE(
            box("MemoResposta_5").split('\n'),
            (QStringList{"---- Resposta XML Integrador -------------------------", "<Integrador/>",
                         "------------------------------------------------------",
                         "000001|08000|SAT em operação||", "report line"}));
        host.integrador = false; // a document left from earlier is not shown in library mode
        button("BtnExecuta_5")->click();
        QCOMPARE(box("MemoResposta_5"), QString("000001|08000|SAT em operação||\nreport line"));
    }

    void aMessagesLineBreakShowsAsOneLineBreak() {
        host.answer = "000001|08000|Pasta\n\rnão encontrada|\n|";
        button("BtnMostra_5")->click();
        button("BtnExecuta_5")->click();
        QCOMPARE(box("MemoResposta_5").split('\n'),
                 (QStringList{"000001|08000|Pasta", "não encontrada|", "|", "report line"}));
    }

    void failingReportKeepsTheLinesItWrote() {
        host.answer = "1|10000|boom|";
        button("BtnMostra_5")->click();
        button("BtnExecuta_5")->click();
        QCOMPARE(box("MemoResposta_5"), QString("1|10000|boom|\nreport line\nsecond line"));
        QVERIFY(host.errors.isEmpty());
    }

    void failureBeforeTheCallKeepsTheAnswerBox() {
        button("BtnMostra_5")->click();
        button("BtnExecuta_5")->click();
        const QString before = box("MemoResposta_5");
        behaviour.failBeforeCall = true;
        button("BtnExecuta_5")->click();
        QCOMPARE(host.errors, QStringList{"'x' is not a valid integer value"});
        QCOMPARE(host.calls, 1);
        QCOMPARE(box("MemoResposta_5"), before);
        QCOMPARE(host.cursorDepth, 0);
    }

    // Every "Executar" reaches the journal once, whether the module answered, the call failed,
    // or the logic stopped it before the module was called.
    void everyExecuteIsHandedToTheJournal() {
        button("BtnMostra_5")->click();
        button("BtnExecuta_5")->click();
        host.callFails = true;
        button("BtnExecuta_5")->click();
        host.callFails = false;
        behaviour.failBeforeCall = true;
        button("BtnExecuta_5")->click();

        QCOMPARE(host.attempts.size(), std::size_t(3));
        const core::CallAttempt& answered = host.attempts[0];
        QCOMPARE(answered.operation, &testDefinition.operation);
        QCOMPARE(answered.call->text, std::string("Op(000002)"));
        QCOMPARE(answered.session, std::string("000002"));
        QCOMPARE(answered.executed->answer, host.answer);
        QVERIFY(!answered.failure && answered.refusal.empty());

        const core::CallAttempt& failed = host.attempts[1];
        QCOMPARE(failed.call->text, std::string("Op(000003)"));
        QVERIFY(failed.failure && !failed.executed);

        const core::CallAttempt& refused = host.attempts[2];
        QVERIFY(!refused.call && !refused.executed && !refused.failure);
        QCOMPARE(refused.refusal, std::string("'x' is not a valid integer value"));
        QCOMPARE(host.calls, 2);
    }

    void pageEntryClearsBoxesAndDisablesExecute() {
        button("BtnMostra_5")->click();
        button("BtnExecuta_5")->click();
        page->enter();
        QVERIFY(box("MemoComando_5").isEmpty());
        QVERIFY(box("MemoResposta_5").isEmpty());
        QVERIFY(!button("BtnExecuta_5")->isEnabled());
    }
};

QTEST_MAIN(OperationPageTest)
#include "operation_page_test.moc"
