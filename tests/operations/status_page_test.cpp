#include "tests/support/page_driver.h"
#include "tests/support/test_program.h"

#include <QPlainTextEdit>
#include <QTest>

// Pages 5 and 15 in library mode: the code typed reaches the library and the report fills the box.
class StatusPageTest : public QObject {
    Q_OBJECT

    testing_support::TestProgram program;
    testing_support::FakeLibrary fake;
    std::unique_ptr<app::MainWindow> window;
    std::unique_ptr<testing_support::PageDriver> page;

private slots:
    void initTestCase() {
        program.installFakeLibrary();
        program.writeIni("[DEFAULT]\r\nACESSO=DLL\r\n");
    }

    void init() {
        window = program.start();
        page = std::make_unique<testing_support::PageDriver>(*window);
    }

    void cleanup() {
        page.reset();
        window.reset();
    }

    void analysisFindsAShortCode() {
        page->enter("BtnConsultarStatus");
        page->type("EdtCodAtiv_5", "123");
        page->click("BtnAnalisa_5");
        QCOMPARE(page->lines("MemoComando_5"),
                 QStringList{"Código de ativação deve ter entre 8 e 32 caracteres"});
        QCOMPARE(page->widget<QPlainTextEdit>("MemoComando_5")->palette().color(QPalette::Text),
                 QColor(Qt::red));
    }

    void executeSendsTheTrimmedCodeAndReports() {
        fake.setAnswer("000001|10000|Resposta com sucesso|||900004019|DHCP|010.000.000.108|"
                       "00:0C:29:4F:8A:11|255.255.255.000|010.000.000.001|008.008.008.008|"
                       "008.008.004.004|CONECTADO|ALTO|4 GB|260 MB|20240315143005|01.00.00|"
                       "00.07|CFe35240361099008000141599000040190000011234|||20240315140000|"
                       "20240315143000|20230101|20280101|2");
        page->enter("BtnConsultarStatus");
        page->type("EdtCodAtiv_5", " 12345678 ");
        page->click("BtnMostra_5");
        page->click("BtnExecuta_5");
        const QString command = page->lines("MemoComando_5").join('\n');
        QVERIFY(command.startsWith("ConsultarStatusOperacional("));
        QVERIFY(command.endsWith(",12345678)"));
        QVERIFY(fake.lastCall().endsWith("|12345678"));

        const QStringList lines = page->lines("MemoResposta_5");
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
        page->enter("BtnConsultarStatusMFE");
        page->type("EdtCodAtiv_15", "12345678");
        page->click("BtnMostra_15");
        page->click("BtnExecuta_15");
        QVERIFY(fake.lastCall().startsWith("ConsultarStatusOperacionalMFE|"));
        const QString report = page->lines("MemoResposta_15").join('\n');
        QVERIFY2(report.contains("\n<config>\n  <lan>\n    <tipoInter>ETHE</tipoInter>\n"),
                 qPrintable(report));
        QVERIFY(!report.contains("desconhecido"));
    }
};

QTEST_MAIN(StatusPageTest)
#include "status_page_test.moc"
