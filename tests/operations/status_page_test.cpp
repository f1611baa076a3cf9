#include "tests/support/test_program.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

// Page 5 in library mode: the code typed reaches the library and the report fills the box.
class StatusPageTest : public QObject {
    Q_OBJECT

    testing_support::TestProgram program;
    testing_support::FakeLibrary fake;
    std::unique_ptr<app::MainWindow> window;

    template <typename T> T* child(const char* name) { return window->findChild<T*>(name); }

private slots:
    void initTestCase() {
        program.installFakeLibrary();
        program.writeIni("[DEFAULT]\r\nACESSO=DLL\r\n");
        window = program.start();
    }

    void analysisFindsAShortCode() {
        child<QPushButton>("BtnConsultarStatus")->click();
        child<QLineEdit>("EdtCodAtiv_5")->setText("123");
        child<QPushButton>("BtnAnalisa_5")->click();
        QCOMPARE(child<QPlainTextEdit>("MemoComando_5")->toPlainText(),
                 QString("Código de ativação deve ter entre 8 e 32 caracteres"));
        QCOMPARE(child<QPlainTextEdit>("MemoComando_5")->palette().color(QPalette::Text),
                 QColor(Qt::red));
    }

    void executeSendsTheTrimmedCodeAndReports() {
        fake.setAnswer("000001|10000|Resposta com sucesso|||900004019|DHCP|010.000.000.108|"
                       "00:0C:29:4F:8A:11|255.255.255.000|010.000.000.001|008.008.008.008|"
                       "008.008.004.004|CONECTADO|ALTO|4 GB|260 MB|20240315143005|01.00.00|"
                       "00.07|CFe35240361099008000141599000040190000011234|||20240315140000|"
                       "20240315143000|20230101|20280101|2");
        child<QLineEdit>("EdtCodAtiv_5")->setText(" 12345678 ");
        child<QPushButton>("BtnMostra_5")->click();
        child<QPushButton>("BtnExecuta_5")->click();
        const QString command = child<QPlainTextEdit>("MemoComando_5")->toPlainText();
        QVERIFY(command.startsWith("ConsultarStatusOperacional("));
        QVERIFY(command.endsWith(",12345678)"));
        QVERIFY(fake.lastCall().endsWith("|12345678"));

        const QStringList lines =
            child<QPlainTextEdit>("MemoResposta_5")->toPlainText().split('\n');
        QVERIFY(lines.size() > 25);
        QVERIFY(lines[0].startsWith("000001|10000|"));
        QVERIFY(lines.contains(" NSERIE ........... 900004019"));
        QVERIFY(lines.contains(" ESTADO_OPERACAO .. BLOQUEIO CONTRIBUINTE"));
    }

    void extendedReportLaysOutTheStoredNetworkConfiguration() {
        // Fields 0 to 35, with an escaped network configuration in field 33.
        QByteArray answer = "000002|10000|Resposta com sucesso|";
        for (int field = 3; field <= 35; ++field) {
            if (field == 27 || field == 29)
                answer += "0";
            else if (field == 33)
                answer += "<config><lan><tipoInter>ETHE</tipoInter></lan></config>";
            else if (field > 33)
                answer += "NA";
            answer += "|";
        }
        fake.setAnswer(answer.constData());
        child<QPushButton>("BtnConsultarStatusMFE")->click();
        child<QLineEdit>("EdtCodAtiv_15")->setText("12345678");
        child<QPushButton>("BtnMostra_15")->click();
        child<QPushButton>("BtnExecuta_15")->click();
        QVERIFY(fake.lastCall().startsWith("ConsultarStatusOperacionalMFE|"));
        const QString report = child<QPlainTextEdit>("MemoResposta_15")->toPlainText();
        QVERIFY2(report.contains("\n<config>\n  <lan>\n    <tipoInter>ETHE</tipoInter>\n"),
                 qPrintable(report));
        QVERIFY(!report.contains("desconhecido"));
    }

    void cleanupTestCase() { window.reset(); }
};

QTEST_MAIN(StatusPageTest)
#include "status_page_test.moc"
