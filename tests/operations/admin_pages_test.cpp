// The administration pages in the window (offscreen), a fresh window per case: fields typed,
// "Executar", what the fake driver library received and what the boxes show; and a lost answer
// recovered through the Integrador stand-in and the module emulator.

#include "tests/support/page_driver.h"
#include "tests/support/test_program.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A program folder whose window runs in one access mode; each case opens a window of its own.
class WindowCases : public QObject {
protected:
    testing_support::TestProgram program;
    std::unique_ptr<app::MainWindow> window;
    std::unique_ptr<testing_support::PageDriver> page;

    void open() {
        window = program.start();
        page = std::make_unique<testing_support::PageDriver>(*window);
    }
    void close() {
        page.reset();
        window.reset();
    }
    QString text(const QString& box) const { return page->lines(box).join('\n'); }

    // The session a call text shows, as the integer the library receives.
    static QString sessionOf(const QString& callText) {
        const auto match = QRegularExpression(R"(\((\d{6})[,)])").match(callText);
        return match.hasMatch() ? QString::number(match.captured(1).toInt()) : QString();
    }
};

// In library mode over the fake library.
class FakeLibraryCases : public WindowCases {
protected:
    std::unique_ptr<testing_support::FakeLibrary> fake;

    void useFakeLibrary() {
        program.installFakeLibrary();
        program.writeIni("[DEFAULT]\r\nACESSO=DLL\r\n");
        fake = std::make_unique<testing_support::FakeLibrary>();
    }
};

} // namespace

class AtivarSatPageTest : public FakeLibraryCases {
    Q_OBJECT
private slots:
    void initTestCase() { useFakeLibrary(); }
    void init() { open(); }
    void cleanup() { close(); }

    void ufListAndCertificateTypeAtStart() {
        auto* uf = page->widget<QComboBox>("cboUF");
        QCOMPARE(uf->count(), 27);
        QCOMPARE(uf->currentIndex(), 5);
        QCOMPARE(uf->currentText(), QString("CE"));
        QCOMPARE(uf->itemText(25), QString("SP"));
        QVERIFY(!uf->isEditable());
        QVERIFY(!page->widget<QGroupBox>("rgTipoCert")->isEnabled());
        QVERIFY(page->widget<QRadioButton>("rgTipoCert_0")->isChecked());
    }

    void emptyFieldsGiveThreeFindings() {
        page->enter("BtnAtivarSAT");
        page->click("BtnAnalisa_2");
        QCOMPARE(page->lines("MemoComando_2"),
                 (QStringList{"Código de ativação não pode ser nulo",
                              "Código de ativação deve ter entre 8 e 32 caracteres",
                              "CNPJ do Contribuinte inválido."}));
    }

    // The value of the masked edit is its digits; a partly filled edit is no CNPJ.
    void cnpjEditValueIsTheDigitsTyped() {
        page->enter("BtnAtivarSAT");
        page->type("EdtCodAtiv_2", "senha123");
        page->type("EdtCNPJContrib", "1234567800019");
        QCOMPARE(page->widget<QLineEdit>("EdtCNPJContrib")->displayText(),
                 QString("12.345.678/0001-9_"));
        page->click("BtnAnalisa_2");
        QCOMPARE(page->lines("MemoComando_2"), QStringList{"CNPJ do Contribuinte inválido."});
        page->type("EdtCNPJContrib", "12345678000195");
        page->click("BtnAnalisa_2");
        QCOMPARE(page->lines("MemoComando_2"), QStringList{"Análise OK."});
    }

    void executeSendsSubCommandOneAndTheUfCode() {
        page->enter("BtnAtivarSAT");
        page->type("EdtCodAtiv_2", "senha123");
        page->type("EdtCNPJContrib", "12345678000195");
        page->widget<QComboBox>("cboUF")->setCurrentText("SP");
        page->widget<QRadioButton>("rgTipoCert_2")->setChecked(true); // shown only: never read
        fake->setAnswer("000001|04000|Ativado corretamente|||Q1NS");
        page->click("BtnMostra_2");
        page->click("BtnExecuta_2");
        const QString call = text("MemoComando_2");
        QVERIFY2(QRegularExpression(R"(^AtivarSAT\(\d{6},1,senha123,12345678000195,35\)$)")
                     .match(call)
                     .hasMatch(),
                 qPrintable(call));
        QCOMPARE(fake->lastCall(),
                 "AtivarSAT|" + sessionOf(call) + "|1|senha123|12345678000195|35");
        QCOMPARE(page->lines("MemoResposta_2"),
                 QStringList{"000001|04000|Ativado corretamente|||Q1NS"});
    }

    void typedTextOutsideTheCodePageStopsBeforeTheCall() {
        fake->setAnswer("000001|04000|Ativado corretamente||");
        page->enter("BtnAtivarSAT");
        // Pasted: key clicks carry ASCII only.
        page->widget<QLineEdit>("EdtCodAtiv_2")->setText("senha✓123");
        page->type("EdtCNPJContrib", "12345678000195");
        const QString before = fake->lastCall();
        program.dialogs.shown.clear();
        page->click("BtnMostra_2");
        QCOMPARE(fake->lastCall(), before);
        QCOMPARE(program.dialogs.shown.size(), 1);
        QVERIFY2(program.dialogs.shown[0].startsWith("error:O caractere \"✓\" de codigoDeAtivacao"),
                 qPrintable(program.dialogs.shown[0]));
        QVERIFY(!page->widget<QPushButton>("BtnExecuta_2")->isEnabled());
    }
};

class AssociarAssinaturaPageTest : public FakeLibraryCases {
    Q_OBJECT
private slots:
    void initTestCase() { useFakeLibrary(); }
    void init() { open(); }
    void cleanup() { close(); }

    void emptyFieldsGiveFiveFindings() {
        page->enter("BtnAssocAssin");
        page->click("BtnAnalisa_3");
        const QStringList findings = page->lines("MemoComando_3");
        QCOMPARE(findings.size(), 5);
        QCOMPARE(findings.last(), QString("Assinatura não pode estar em branco."));
    }

    void signatureOfSeveralLinesIsSentAsOne() {
        page->enter("BtnAssocAssin");
        page->type("EdtCodAtiv3", "senha123");
        page->type("EdtCNPJSw", "11222333000181");
        page->type("EdtCNPJContrib2", "12345678000195");
        const QString half(172, 'A');
        page->widget<QPlainTextEdit>("MemoSign")->setPlainText(half + "\n" + half);
        // 344 characters sent, 346 as the memo holds them with CR LF.
        page->click("BtnAnalisa_3");
        QCOMPARE(page->lines("MemoComando_3"),
                 QStringList{"Assinatura não pode ter mais de 344 caracteres."});
        fake->setAnswer("000002|13000|Assinatura do AC registrada||");
        page->click("BtnMostra_3");
        page->click("BtnExecuta_3");
        const QString call = text("MemoComando_3");
        QCOMPARE(call, "AssociarAssinatura(" + call.mid(19, 6) +
                           ",senha123,1122233300018112345678000195," + half + half + ")");
        QCOMPARE(fake->lastCall(), "AssociarAssinatura|" + sessionOf(call) +
                                       "|senha123|1122233300018112345678000195|" + half + half);
        QCOMPARE(page->lines("MemoResposta_3"),
                 QStringList{"000002|13000|Assinatura do AC registrada||"});
    }
};

class TrocarCodigoPageTest : public FakeLibraryCases {
    Q_OBJECT
private slots:
    void initTestCase() { useFakeLibrary(); }
    void init() { open(); }
    void cleanup() { close(); }

    void emergencyChangesLabelMessagesAndOption() {
        page->enter("BtnTrocarCodigo");
        auto* label = page->widget<QLabel>("LblCodAtual");
        QCOMPARE(label->text(), QString("Código de Ativação Atual:"));
        page->click("CheckEmergencia");
        QCOMPARE(label->text(), QString("Código de Emergência:"));
        page->type("EdtNovoCodigo", "novo1234");
        page->type("EdtNovoCodigo2", "novo1234");
        page->click("BtnAnalisa_6");
        QCOMPARE(page->lines("MemoComando_6"),
                 (QStringList{"Código de emergência não pode ser nulo",
                              "Código de emergência deve ter entre 8 e 32 caracteres"}));
        page->type("EdtCodAtual", " EMERGENCIA ");
        fake->setAnswer("000003|18000|Código de ativação alterado com sucesso||");
        page->click("BtnMostra_6");
        page->click("BtnExecuta_6");
        const QString call = text("MemoComando_6");
        QVERIFY2(call.endsWith(",EMERGENCIA,2,novo1234,novo1234)"), qPrintable(call));
        QCOMPARE(fake->lastCall(),
                 "TrocarCodigoDeAtivacao|" + sessionOf(call) + "|EMERGENCIA|2|novo1234|novo1234");

        page->click("CheckEmergencia");
        QCOMPARE(label->text(), QString("Código de Ativação Atual:"));
        page->click("BtnExecuta_6");
        QVERIFY(fake->lastCall().contains("|EMERGENCIA|1|"));
    }
};

class ConsultarNumeroSessaoPageTest : public FakeLibraryCases {
    Q_OBJECT

    void executeQuery(const QString& sessao) {
        page->enter("BtnConsNumSessao");
        page->type("EdtCodAtiv_10", "senha123");
        page->type("EdtSessao", sessao);
        page->click("BtnMostra_10");
        page->click("BtnExecuta_10");
    }

private slots:
    void initTestCase() { useFakeLibrary(); }
    void init() { open(); }
    void cleanup() { close(); }

    void sessionAtEntryIsTheLastOneSent() {
        page->enter("BtnConsNumSessao");
        QCOMPARE(page->widget<QLineEdit>("EdtSessao")->text(), QString("000000"));

        page->enter("BtnBloquearSAT");
        page->type("EdtCodAtiv_11", "senha123");
        page->click("BtnMostra_11");
        page->click("BtnExecuta_11");
        const QString sent = text("MemoComando_11").mid(12, 6);
        // A "Mostrar" whose call is not made does not count; session numbers come from the time
        // of day, so the next one differs once the clock has moved.
        QTRY_VERIFY((page->click("BtnMostra_11"), text("MemoComando_11").mid(12, 6) != sent));
        page->enter("BtnConsNumSessao");
        QCOMPARE(page->widget<QLineEdit>("EdtSessao")->text(), sent);
    }

    void executeSendsTheSessionAsAnInteger() {
        fake->setAnswer("000042|16000|Equipamento SAT bloqueado com sucesso||");
        executeQuery(" 42");
        const QString call = text("MemoComando_10");
        QVERIFY2(call.endsWith(",senha123,42)"), qPrintable(call));
        QCOMPARE(fake->lastCall(), "ConsultarNumeroSessao|" + sessionOf(call) + "|senha123|42");
        QCOMPARE(page->lines("MemoResposta_10"),
                 QStringList{"000042|16000|Equipamento SAT bloqueado com sucesso||"});
    }

    void notAnIntegerMakesNoCallAndKeepsTheAnswer() {
        const QString answer = "000042|16000|Equipamento SAT bloqueado com sucesso||";
        fake->setAnswer(answer.toUtf8().constData());
        executeQuery("42");
        const QString before = fake->lastCall();
        for (const QString typed : {"12a", "42 "}) {
            const QString shownCall = QString(",senha123,%1)").arg(typed.trimmed());
            program.dialogs.shown.clear();
            page->type("EdtSessao", typed);
            // "Mostrar" shows the call, the session trimmed, and says nothing.
            page->click("BtnMostra_10");
            QVERIFY2(text("MemoComando_10").endsWith(shownCall),
                     qPrintable(text("MemoComando_10")));
            QCOMPARE(program.dialogs.shown, QStringList{});
            // "Executar" shows it again, then stops with the conversion error.
            page->click("BtnExecuta_10");
            QVERIFY2(text("MemoComando_10").endsWith(shownCall),
                     qPrintable(text("MemoComando_10")));
            QCOMPARE(program.dialogs.shown,
                     QStringList{QString("error:'%1' is not a valid integer value").arg(typed)});
            QCOMPARE(fake->lastCall(), before);
            QCOMPARE(page->lines("MemoResposta_10"), QStringList{answer});
        }
    }
};

class ActivationCodePageTest : public FakeLibraryCases {
    Q_OBJECT
private slots:
    void initTestCase() { useFakeLibrary(); }
    void init() { open(); }
    void cleanup() { close(); }

    void codeOnlyPagesSendTheTrimmedCode() {
        const struct {
            const char* button;
            const char* page;
            const char* operation;
        } pages[] = {{"BtnBloquearSAT", "11", "BloquearSAT"},
                     {"BtnDesbloquearSAT", "12", "DesbloquearSAT"},
                     {"BtnAtualizarSoft", "13", "AtualizarSoftwareSAT"}};
        fake->setAnswer("000005|17000|desbloqueado com sucesso||");
        for (const auto& p : pages) {
            page->enter(p.button);
            page->type(QString("EdtCodAtiv_") + p.page, " senha123 ");
            page->click(QString("BtnMostra_") + p.page);
            page->click(QString("BtnExecuta_") + p.page);
            const QString call = text(QString("MemoComando_") + p.page);
            QVERIFY2(call.startsWith(QString(p.operation) + "(") && call.endsWith(",senha123)"),
                     qPrintable(call));
            QCOMPARE(fake->lastCall(), QString("%1|%2|senha123").arg(p.operation, sessionOf(call)));
            QCOMPARE(page->lines(QString("MemoResposta_") + p.page),
                     QStringList{"000005|17000|desbloqueado com sucesso||"});
        }
    }

    // A long log appears whole, and the box shows its end.
    void extrairLogsShowsTheDecodedLogAndItsEnd() {
        QByteArray log;
        for (int i = 1; i <= 3000; ++i)
            log += "20240315143005;linha " + QByteArray::number(i) + "\r\n";
        const QByteArray answer = "000006|15000|Transferência completa|||" + log.toBase64();
        fake->setAnswer(answer.constData());
        page->enter("BtnExtrairLogs");
        page->type("EdtCodAtiv_7", "senha123");
        page->click("BtnMostra_7");
        page->click("BtnExecuta_7");
        const QStringList lines = page->lines("MemoResposta_7");
        QCOMPARE(lines.size(), 1 + 1 + 1 + 3000 + 1 + 1);
        QCOMPARE(lines[2], QString("---- Log Decodificado --------------------------------"));
        QCOMPARE(lines[3002], QString("20240315143005;linha 3000"));
        QCOMPARE(lines[3003], QString());
        QCOMPARE(lines[3004], QString(54, '-'));
        auto* memo = page->widget<QPlainTextEdit>("MemoResposta_7");
        QCOMPARE(memo->textCursor().position(), memo->document()->characterCount() - 1);
    }

    // A long one-line answer (AtivarSAT's CSR) leaves the box at its start, where the session,
    // code and message are; the log section of ExtrairLogs is shown at its end, from its left.
    void answerBoxShowsTheStartAndOnlyTheLogItsEnd() {
        const QByteArray csr = QByteArray(6000, 'Q').toBase64();
        QByteArray log;
        for (int i = 1; i <= 200; ++i)
            log += "20240315143005;linha " + QByteArray::number(i) + "\r\n";
        const struct {
            const char* button;
            const char* page;
            QByteArray answer;
            bool atEnd;
        } cases[] = {
            {"BtnAtivarSAT", "2", "000001|04000|Ativado corretamente|||" + csr, false},
            {"BtnExtrairLogs", "7", "000006|15000|Transferência completa|||" + log.toBase64(),
             true},
        };
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        for (const auto& c : cases) {
            fake->setAnswer(c.answer.constData());
            page->enter(c.button);
            page->type(QString("EdtCodAtiv_") + c.page, "senha123");
            page->click(QString("BtnMostra_") + c.page);
            page->click(QString("BtnExecuta_") + c.page);
            QApplication::processEvents();
            auto* memo = page->widget<QPlainTextEdit>(QString("MemoResposta_") + c.page);
            QVERIFY(memo->isVisible());
            QVERIFY2(memo->horizontalScrollBar()->maximum() > 0, c.button);
            const QScrollBar* vertical = memo->verticalScrollBar();
            const int expected = c.atEnd ? vertical->maximum() : 0;
            QVERIFY2(memo->horizontalScrollBar()->value() == 0 && vertical->value() == expected,
                     qPrintable(QString("%1 scrolled to %2, %3 of %4")
                                    .arg(c.button)
                                    .arg(memo->horizontalScrollBar()->value())
                                    .arg(vertical->value())
                                    .arg(vertical->maximum())));
        }
    }
};

// A call whose answer is lost (the wait cancelled while the Integrador still holds the answer)
// is recovered with the session query: page 10 opens with the lost call's session.
class LostAnswerRecoveryTest : public WindowCases {
    Q_OBJECT
    QTemporaryDir folders;
    QProcess standin;

private slots:
    void initTestCase() {
        qputenv("TARVIK_INTEGRADOR_DIR", folders.filePath("Integrador").toUtf8());
        qputenv("MFE_EMULADOR_ESTADO", folders.filePath("estado.json").toUtf8());
        standin.start(STANDIN, {"--dir", folders.filePath("Integrador"), "--library", MFE_LIBRARY,
                                "--delay", "1500", "--timeout", "120"});
        QVERIFY(standin.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(folders.filePath("Integrador/Output")), 5000);
        program.writeIni("[DEFAULT]\r\nACESSO=INTEGRADOR\r\n");
        open();
    }

    void activateThenLoseABlockingAnswerThenRecoverIt() {
        page->enter("BtnAtivarSAT");
        page->type("EdtCodAtiv_2", "senha123");
        page->type("EdtCNPJContrib", "12345678000195");
        page->click("BtnMostra_2");
        page->click("BtnExecuta_2");
        QVERIFY2(text("MemoResposta_2").contains("|04000|"), qPrintable(text("MemoResposta_2")));

        page->enter("BtnBloquearSAT");
        page->type("EdtCodAtiv_11", "senha123");
        page->click("BtnMostra_11");
        QVERIFY(page->clickWhileWaiting("BtnExecuta_11", [](QDialog& wait) {
            wait.findChild<QPushButton*>("BtnCancelar")->click();
        }));
        QVERIFY2(text("MemoResposta_11").contains("|16098|"), qPrintable(text("MemoResposta_11")));
        const QString lost = text("MemoComando_11").mid(12, 6);

        page->enter("BtnConsNumSessao");
        QCOMPARE(page->widget<QLineEdit>("EdtSessao")->text(), lost);
        page->type("EdtCodAtiv_10", "senha123");
        page->click("BtnMostra_10");
        page->click("BtnExecuta_10");
        // The stored answer: the lost session's number and the block's success.
        const QString answer = text("MemoResposta_10");
        QVERIFY2(QRegularExpression("^0*" + QString::number(lost.toInt()) + R"(\|16000\|)",
                                    QRegularExpression::MultilineOption)
                     .match(answer)
                     .hasMatch(),
                 qPrintable(answer));
    }

    void cleanupTestCase() {
        close();
        standin.kill();
        standin.waitForFinished();
        qunsetenv("TARVIK_INTEGRADOR_DIR");
        qunsetenv("MFE_EMULADOR_ESTADO");
    }
};

// A report file named with -o FILE,FORMAT (as under wine, where QtTest prints nothing to a pipe)
// is given to each class under a name of its own: one file would keep only the last report.
static QString reportOfClass(const QString& option, const QString& className) {
    const qsizetype comma = option.lastIndexOf(',');
    const QString file = comma < 0 ? option : option.left(comma);
    const QString format = comma < 0 ? QString() : option.mid(comma);
    const qsizetype dot = file.lastIndexOf('.');
    const QString stem = dot < 0 ? file : file.left(dot);
    const QString extension = dot < 0 ? QString() : file.mid(dot);
    return stem + "-" + className + extension + format;
}

template <typename Test> int runOne(int argc, char** argv) {
    Test test;
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const qsizetype output = arguments.indexOf("-o");
    if (output > 0 && output + 1 < arguments.size())
        arguments[output + 1] =
            reportOfClass(arguments[output + 1], Test::staticMetaObject.className());
    return QTest::qExec(&test, arguments);
}

// Each test class in turn, each with a program folder of its own.
template <typename... Tests> int runEach(int argc, char** argv) {
    int failed = 0;
    ((failed += runOne<Tests>(argc, argv)), ...);
    return failed;
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return runEach<AtivarSatPageTest, AssociarAssinaturaPageTest, TrocarCodigoPageTest,
                   ConsultarNumeroSessaoPageTest, ActivationCodePageTest, LostAnswerRecoveryTest>(
        argc, argv);
}

#include "admin_pages_test.moc"
