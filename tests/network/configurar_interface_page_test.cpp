#include "tests/network/network_page_test.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

// Page 1 in library mode: the edits follow their combos, and the document shown is the one sent.
class ConfigurarInterfacePageTest : public NetworkPageTest {
    Q_OBJECT

    const QStringList addresses = {"EdtlanIP", "EdtlanMask", "EdtlanGW", "EdtlanDNS1",
                                   "EdtlanDNS2"};
    const QStringList proxy = {"Edtproxy_ip", "Edtproxy_porta", "Edtproxy_user", "Edtproxy_senha"};

private slots:
    void initTestCase() { openPage("BtnConfInterface"); }

    void startsAsDhcpWithoutProxy() {
        QCOMPARE(child<QComboBox>("CbotipoLan")->currentText(), QString("DHCP"));
        QVERIFY(child<QComboBox>("CbotipoLan")->isEditable());
        QCOMPARE(child<QComboBox>("CbotipoInter")->currentText(), QString("ETHERNET"));
        QCOMPARE(child<QComboBox>("cboProxy")->currentText(), QString("NENHUM"));
        QVERIFY(!child<QComboBox>("cboProxy")->isEditable());
        QCOMPARE(states(addresses), QString("00000"));
        QCOMPARE(states(proxy), QString("0000"));
        QCOMPARE(child<QLineEdit>("EdtlanIP")->maxLength(), 15);
        QCOMPARE(child<QLineEdit>("Edtproxy_porta")->maxLength(), 5);
        QCOMPARE(child<QLineEdit>("Edtproxy_senha")->echoMode(), QLineEdit::Normal);
        QCOMPARE(child<QLineEdit>("LblEdtCodRede")->maxLength(), 32);
    }

    void addressEditsFollowTheAddressingCombo() {
        auto* tipoLan = child<QComboBox>("CbotipoLan");
        child<QLineEdit>("EdtlanIP")->setText("192.168.001.010");
        tipoLan->setCurrentIndex(1);
        QCOMPARE(states(addresses), QString("11111"));
        tipoLan->setEditText("PPPoE"); // typed text chooses no item: the edits stay
        QCOMPARE(states(addresses), QString("11111"));
        tipoLan->setCurrentIndex(0);
        QCOMPARE(states(addresses), QString("00000"));
        QCOMPARE(child<QLineEdit>("EdtlanIP")->text(), QString("192.168.001.010"));
    }

    void proxyEditsFollowTheProxyCombo() {
        auto* combo = child<QComboBox>("cboProxy");
        const char* expected[] = {"0000", "1111", "0000"};
        for (int item : {1, 2, 0, 1}) {
            combo->setCurrentIndex(item);
            QCOMPARE(states(proxy), QString(expected[item]));
        }
    }

    void executeSendsTheDocumentShownAsUtf8() {
        child<QComboBox>("cboProxy")->setCurrentIndex(1);
        child<QLineEdit>("Edtproxy_senha")->setText("ç|&");
        child<QLineEdit>("LblEdtCodRede")->setText(" 1234567");
        fake.setAnswer("000001|12000|Rede configurada com sucesso||");
        child<QPushButton>("BtnAnalisa_1")->click();
        QVERIFY(child<QPlainTextEdit>("MemoComando_1")
                    ->toPlainText()
                    .startsWith("IP do Proxy não atende ao formato"));
        child<QPushButton>("BtnMostra_1")->click();
        child<QPushButton>("BtnExecuta_1")->click();
        const QString command = child<QPlainTextEdit>("MemoComando_1")->toPlainText();
        const QString document =
            "<?xml version=\"1.0\" encoding=\"utf-8\"?><config><tipoInter>ETHE</tipoInter>"
            "<tipoLan>DHCP</tipoLan><proxy>1</proxy><proxy_ip/><proxy_porta/><proxy_user/>"
            "<proxy_senha>ç&#124;&amp;</proxy_senha></config>";
        QVERIFY2(command.endsWith(", 1234567," + document + ")"), qPrintable(command));
        QVERIFY2(fake.lastCall().endsWith("| 1234567|" + document), qPrintable(fake.lastCall()));
        QCOMPARE(child<QPlainTextEdit>("MemoResposta_1")->toPlainText(),
                 QString("000001|12000|Rede configurada com sucesso||"));
    }

    // The window sends what the combos hold: an emptied combo an empty element (the defaults
    // are the command line's, for options left out), and typed text, even the element's own
    // value "IPFIX", chooses no item: no addresses go out and the address edits stay as they were.
    void combosSendWhatTheyHold() {
        const struct {
            const char* tipoInter;
            const char* tipoLan;
            const char* elements;
        } cases[] = {
            {"", "DHCP", "<tipoInter/><tipoLan>DHCP</tipoLan>"},
            {"ETHERNET", "", "<tipoInter>ETHE</tipoInter><tipoLan/>"},
            {"ETHERNET", "IPFIX", "<tipoInter>ETHE</tipoInter><tipoLan>IPFIX</tipoLan>"},
            {"ETHERNET", "IP FIXO",
             "<tipoInter>ETHE</tipoInter><tipoLan>IPFIX</tipoLan><lanIP>192.168.001.010</lanIP>"
             "<lanMask/><lanGW/><lanDNS1/><lanDNS2/>"},
        };
        child<QComboBox>("cboProxy")->setCurrentIndex(0);
        for (const auto& c : cases) {
            child<QComboBox>("CbotipoLan")->setCurrentIndex(0);
            child<QLineEdit>("EdtlanIP")->setText("192.168.001.010");
            child<QComboBox>("CbotipoInter")->setEditText(c.tipoInter);
            child<QComboBox>("CbotipoLan")->setEditText(c.tipoLan);
            QCOMPARE(states(addresses),
                     QString(c.tipoLan == QString("IP FIXO") ? "11111" : "00000"));
            child<QPushButton>("BtnMostra_1")->click();
            const QString command = child<QPlainTextEdit>("MemoComando_1")->toPlainText();
            const QString config = QString("<config>") + c.elements + "<proxy>0</proxy></config>)";
            QVERIFY2(command.endsWith(config), qPrintable(command));
        }
    }

    void cleanupTestCase() { window.reset(); }
};

QTEST_MAIN(ConfigurarInterfacePageTest)
#include "configurar_interface_page_test.moc"
