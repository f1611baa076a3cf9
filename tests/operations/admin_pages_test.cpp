// The administration pages in the window (offscreen): fields typed, "Executar", what the fake
// driver library received and what the boxes show; and a lost answer recovered through the
// Integrador stand-in and the module emulator.

#include "tests/support/test_program.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// A window in library mode over the fake library, with helpers to find its controls.
class PageTest : public QObject {
protected:
    testing_support::TestProgram program;
    std::unique_ptr<testing_support::FakeLibrary> fake;
    std::unique_ptr<app::MainWindow> window;

    template <typename T> T* child(const QString& name) {
        T* found = window->findChild<T*>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    void click(const QString& button) { child<QPushButton>(button)->click(); }
    void type(const QString& edit, const QString& text) { child<QLineEdit>(edit)->setText(text); }
    QString box(const QString& name) { return child<QPlainTextEdit>(name)->toPlainText(); }

    // The session a call text shows, as the integer the library receives.
    static QString sessionOf(const QString& callText) {
        const auto match = QRegularExpression(R"(\((\d{6})[,)])").match(callText);
        return match.hasMatch() ? QString::number(match.captured(1).toInt()) : QString();
    }

    void startInLibraryMode() {
        program.installFakeLibrary();
        program.writeIni("[DEFAULT]\r\nACESSO=DLL\r\n");
        fake = std::make_unique<testing_support::FakeLibrary>();
        window = program.start();
    }
};

} // namespace

class AtivarSatPageTest : public PageTest {
    Q_OBJECT
private slots:
    void initTestCase() { startInLibraryMode(); }

    void ufListAndCertificateTypeAtStart() {
        auto* uf = child<QComboBox>("cboUF");
        QCOMPARE(uf->count(), 27);
        QCOMPARE(uf->currentIndex(), 5);
        QCOMPARE(uf->currentText(), QString("CE"));
        QCOMPARE(uf->itemText(25), QString("SP"));
        QVERIFY(!child<QGroupBox>("rgTipoCert")->isEnabled());
        QVERIFY(child<QRadioButton>("rgTipoCert_0")->isChecked());
    }

    void emptyFieldsGiveThreeFindings() {
        click("BtnAtivarSAT");
        click("BtnAnalisa_2");
        QCOMPARE(box("MemoComando_2"),
                 QString("Código de ativação não pode ser nulo\n"
                         "Código de ativação deve ter entre 8 e 32 caracteres\n"
                         "CNPJ do Contribuinte inválido."));
    }

    // The value of the masked edit is its digits; a partly filled edit is no CNPJ.
    void cnpjEditValueIsTheDigitsTyped() {
        type("EdtCodAtiv_2", "senha123");
        auto* cnpj = child<QLineEdit>("EdtCNPJContrib");
        cnpj->setFocus();
        QTest::keyClicks(cnpj, "1234567800019");
        QCOMPARE(cnpj->displayText(), QString("12.345.678/0001-9_"));
        click("BtnAnalisa_2");
        QCOMPARE(box("MemoComando_2"), QString("CNPJ do Contribuinte inválido."));
        QTest::keyClicks(cnpj, "5");
        click("BtnAnalisa_2");
        QCOMPARE(box("MemoComando_2"), QString("Análise OK."));
    }

    void executeSendsSubCommandOneAndTheUfCode() {
        child<QComboBox>("cboUF")->setCurrentText("SP");
        child<QRadioButton>("rgTipoCert_2")->setChecked(true); // shown only: never read
        fake->setAnswer("000001|04000|Ativado corretamente|||Q1NS");
        click("BtnMostra_2");
        click("BtnExecuta_2");
        const QString call = box("MemoComando_2");
        QVERIFY2(QRegularExpression(R"(^AtivarSAT\(\d{6},1,senha123,12345678000195,35\)$)")
                     .match(call)
                     .hasMatch(),
                 qPrintable(call));
        QCOMPARE(fake->lastCall(),
                 "AtivarSAT|" + sessionOf(call) + "|1|senha123|12345678000195|35");
        QCOMPARE(box("MemoResposta_2"), QString("000001|04000|Ativado corretamente|||Q1NS"));
    }

    void typedTextOutsideTheCodePageStopsBeforeTheCall() {
        const QString before = fake->lastCall();
        program.dialogs.shown.clear();
        type("EdtCodAtiv_2", "senha✓123");
        click("BtnExecuta_2");
        QCOMPARE(fake->lastCall(), before);
        QCOMPARE(program.dialogs.shown.size(), 1);
        QVERIFY2(program.dialogs.shown[0].startsWith("error:O caractere \"✓\" de codigoDeAtivacao"),
                 qPrintable(program.dialogs.shown[0]));
    }

    void cleanupTestCase() { window.reset(); }
};

class AssociarAssinaturaPageTest : public PageTest {
    Q_OBJECT
private slots:
    void initTestCase() { startInLibraryMode(); }

    void emptyFieldsGiveFiveFindings() {
        click("BtnAssocAssin");
        click("BtnAnalisa_3");
        QCOMPARE(box("MemoComando_3").split('\n').size(), 5);
        QVERIFY(box("MemoComando_3").endsWith("Assinatura não pode estar em branco."));
    }

    void signatureOfSeveralLinesIsSentAsOne() {
        type("EdtCodAtiv3", "senha123");
        QTest::keyClicks(child<QLineEdit>("EdtCNPJSw"), "11222333000181");
        QTest::keyClicks(child<QLineEdit>("EdtCNPJContrib2"), "12345678000195");
        const QString half(172, 'A');
        child<QPlainTextEdit>("MemoSign")->setPlainText(half + "\n" + half);
        // 344 characters sent, 346 as the memo holds them with CR LF.
        click("BtnAnalisa_3");
        QCOMPARE(box("MemoComando_3"), QString("Assinatura não pode ter mais de 344 caracteres."));
        fake->setAnswer("000002|13000|Assinatura do AC registrada||");
        click("BtnMostra_3");
        click("BtnExecuta_3");
        const QString call = box("MemoComando_3");
        QCOMPARE(call, "AssociarAssinatura(" + call.mid(19, 6) +
                           ",senha123,1122233300018112345678000195," + half + half + ")");
        QCOMPARE(fake->lastCall(), "AssociarAssinatura|" + sessionOf(call) +
                                       "|senha123|1122233300018112345678000195|" + half + half);
        QCOMPARE(box("MemoResposta_3"), QString("000002|13000|Assinatura do AC registrada||"));
    }

    void cleanupTestCase() { window.reset(); }
};

class TrocarCodigoPageTest : public PageTest {
    Q_OBJECT
private slots:
    void initTestCase() { startInLibraryMode(); }

    void emergencyChangesLabelMessagesAndOption() {
        click("BtnTrocarCodigo");
        auto* label = child<QLabel>("LblCodAtual");
        QCOMPARE(label->text(), QString("Código de Ativação Atual:"));
        child<QCheckBox>("CheckEmergencia")->click();
        QCOMPARE(label->text(), QString("Código de Emergência:"));
        type("EdtNovoCodigo", "novo1234");
        type("EdtNovoCodigo2", "novo1234");
        click("BtnAnalisa_6");
        QCOMPARE(box("MemoComando_6"),
                 QString("Código de emergência não pode ser nulo\n"
                         "Código de emergência deve ter entre 8 e 32 caracteres"));
        type("EdtCodAtual", " EMERGENCIA ");
        fake->setAnswer("000003|18000|Código de ativação alterado com sucesso||");
        click("BtnMostra_6");
        click("BtnExecuta_6");
        const QString call = box("MemoComando_6");
        QVERIFY2(call.endsWith(",EMERGENCIA,2,novo1234,novo1234)"), qPrintable(call));
        QCOMPARE(fake->lastCall(),
                 "TrocarCodigoDeAtivacao|" + sessionOf(call) + "|EMERGENCIA|2|novo1234|novo1234");

        child<QCheckBox>("CheckEmergencia")->click();
        QCOMPARE(label->text(), QString("Código de Ativação Atual:"));
        click("BtnExecuta_6");
        QVERIFY(fake->lastCall().contains("|EMERGENCIA|1|"));
    }

    void cleanupTestCase() { window.reset(); }
};

class ConsultarNumeroSessaoPageTest : public PageTest {
    Q_OBJECT
private slots:
    void initTestCase() { startInLibraryMode(); }

    void sessionAtEntryIsTheLastOneSent() {
        click("BtnConsNumSessao");
        QCOMPARE(child<QLineEdit>("EdtSessao")->text(), QString("000000"));

        click("BtnBloquearSAT");
        type("EdtCodAtiv_11", "senha123");
        click("BtnMostra_11");
        click("BtnExecuta_11");
        const QString sent = box("MemoComando_11").mid(12, 6);
        // A "Mostrar" whose call is not made does not count.
        QTest::qWait(5); // session numbers come from the time of day, to the millisecond
        click("BtnMostra_11");
        QVERIFY(box("MemoComando_11").mid(12, 6) != sent);
        click("BtnConsNumSessao");
        QCOMPARE(child<QLineEdit>("EdtSessao")->text(), sent);
    }

    void executeSendsTheSessionAsAnInteger() {
        type("EdtCodAtiv_10", "senha123");
        type("EdtSessao", " 42");
        click("BtnAnalisa_10");
        QCOMPARE(box("MemoComando_10"), QString("Análise OK."));
        fake->setAnswer("000042|16000|Equipamento SAT bloqueado com sucesso||");
        click("BtnMostra_10");
        click("BtnExecuta_10");
        const QString call = box("MemoComando_10");
        QVERIFY2(call.endsWith(",senha123,42)"), qPrintable(call));
        QCOMPARE(fake->lastCall(), "ConsultarNumeroSessao|" + sessionOf(call) + "|senha123|42");
        QCOMPARE(box("MemoResposta_10"),
                 QString("000042|16000|Equipamento SAT bloqueado com sucesso||"));
    }

    void notAnIntegerMakesNoCallAndKeepsTheAnswer() {
        const QString before = fake->lastCall();
        for (const char* text : {"12a", "42 "}) {
            program.dialogs.shown.clear();
            type("EdtSessao", text);
            click("BtnExecuta_10");
            QCOMPARE(program.dialogs.shown,
                     QStringList{QString("error:'%1' is not a valid integer value").arg(text)});
            QCOMPARE(fake->lastCall(), before);
            QCOMPARE(box("MemoResposta_10"),
                     QString("000042|16000|Equipamento SAT bloqueado com sucesso||"));
        }
    }

    void cleanupTestCase() { window.reset(); }
};

class ActivationCodePageTest : public PageTest {
    Q_OBJECT
private slots:
    void initTestCase() { startInLibraryMode(); }

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
            click(p.button);
            type(QString("EdtCodAtiv_") + p.page, " senha123 ");
            click(QString("BtnMostra_") + p.page);
            click(QString("BtnExecuta_") + p.page);
            const QString call = box(QString("MemoComando_") + p.page);
            QVERIFY2(call.startsWith(QString(p.operation) + "(") && call.endsWith(",senha123)"),
                     qPrintable(call));
            QCOMPARE(fake->lastCall(), QString("%1|%2|senha123").arg(p.operation, sessionOf(call)));
            QCOMPARE(box(QString("MemoResposta_") + p.page),
                     QString("000005|17000|desbloqueado com sucesso||"));
        }
    }

    // A long log appears whole, and the box shows its end.
    void extrairLogsShowsTheDecodedLogAndItsEnd() {
        QByteArray log;
        for (int i = 1; i <= 3000; ++i)
            log += "20240315143005;linha " + QByteArray::number(i) + "\r\n";
        const QByteArray answer = "000006|15000|Transferência completa|||" + log.toBase64();
        fake->setAnswer(answer.constData());
        click("BtnExtrairLogs");
        type("EdtCodAtiv_7", "senha123");
        click("BtnMostra_7");
        click("BtnExecuta_7");
        const QStringList lines = box("MemoResposta_7").split('\n');
        QCOMPARE(lines.size(), 1 + 1 + 1 + 3000 + 1 + 1);
        QCOMPARE(lines[2], QString("---- Log Decodificado --------------------------------"));
        QCOMPARE(lines[3002], QString("20240315143005;linha 3000"));
        QCOMPARE(lines[3003], QString());
        QCOMPARE(lines[3004], QString(54, '-'));
        auto* memo = child<QPlainTextEdit>("MemoResposta_7");
        QCOMPARE(memo->textCursor().position(), memo->document()->characterCount() - 1);
    }

    void cleanupTestCase() { window.reset(); }
};

// A call whose answer is lost (the wait cancelled while the Integrador still holds the answer)
// is recovered with the session query: page 10 opens with the lost call's session.
class LostAnswerRecoveryTest : public PageTest {
    Q_OBJECT
    QTemporaryDir folders;
    QProcess standin;

    // Clicks "Cancelar" of the wait dialog once it is up.
    void cancelTheWaitSoon() {
        auto* poll = new QTimer(window.get());
        poll->setInterval(100);
        auto* started = new QElapsedTimer;
        started->start();
        connect(poll, &QTimer::timeout, window.get(), [this, poll, started] {
            auto* cancel = window->findChild<QPushButton*>("BtnCancelar");
            if (cancel && cancel->isVisible() && cancel->isEnabled() && started->elapsed() > 700) {
                cancel->click();
                poll->stop();
                poll->deleteLater();
                delete started;
            }
        });
        poll->start();
    }

private slots:
    void initTestCase() {
        qputenv("TARVIK_INTEGRADOR_DIR", folders.filePath("Integrador").toUtf8());
        qputenv("MFE_EMULADOR_ESTADO", folders.filePath("estado.json").toUtf8());
        standin.start(STANDIN, {"--dir", folders.filePath("Integrador"), "--library", MFE_LIBRARY,
                                "--delay", "2000", "--timeout", "120"});
        QVERIFY(standin.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(folders.filePath("Integrador/Output")), 5000);
        program.writeIni("[DEFAULT]\r\nACESSO=INTEGRADOR\r\n");
        window = program.start();
    }

    void activateThenLoseABlockingAnswerThenRecoverIt() {
        click("BtnAtivarSAT");
        type("EdtCodAtiv_2", "senha123");
        QTest::keyClicks(child<QLineEdit>("EdtCNPJContrib"), "12345678000195");
        click("BtnMostra_2");
        click("BtnExecuta_2");
        QVERIFY2(box("MemoResposta_2").contains("|04000|"), qPrintable(box("MemoResposta_2")));

        click("BtnBloquearSAT");
        type("EdtCodAtiv_11", "senha123");
        click("BtnMostra_11");
        cancelTheWaitSoon();
        click("BtnExecuta_11");
        QVERIFY2(box("MemoResposta_11").contains("|16098|"), qPrintable(box("MemoResposta_11")));
        const QString lost = box("MemoComando_11").mid(12, 6);

        click("BtnConsNumSessao");
        QCOMPARE(child<QLineEdit>("EdtSessao")->text(), lost);
        type("EdtCodAtiv_10", "senha123");
        click("BtnMostra_10");
        click("BtnExecuta_10");
        // The stored answer: the lost session's number and the block's success.
        const QString answer = box("MemoResposta_10");
        QVERIFY2(QRegularExpression("^0*" + QString::number(lost.toInt()) + R"(\|16000\|)",
                                    QRegularExpression::MultilineOption)
                     .match(answer)
                     .hasMatch(),
                 qPrintable(answer));
    }

    void cleanupTestCase() {
        window.reset();
        standin.kill();
        standin.waitForFinished();
        qunsetenv("TARVIK_INTEGRADOR_DIR");
        qunsetenv("MFE_EMULADOR_ESTADO");
    }
};

template <typename Test> int runOne(int argc, char** argv) {
    Test test;
    return QTest::qExec(&test, argc, argv);
}

// Each test class in turn, each with a program folder and a window of its own.
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
