#include "network/configurar_interface_mfe.h"
#include "tests/network/network_page_test.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

// Page 16 in library mode: the edits follow their combos, the carrier buttons fill the carrier
// edits, and the text shown is the one sent.
class ConfigurarInterfaceMfePageTest : public NetworkPageTest {
    Q_OBJECT

    const QStringList addresses1 = {"EdtMFEIP1", "EdtMFEMask1", "EdtMFEGW1", "EdtMFEDNS11",
                                    "EdtMFEDNS21"};
    const QStringList proxy1 = {"EdtMFEProxyIP1", "EdtMFEProxyPorta1", "EdtMFEProxyUser1",
                                "EdtMFEProxySenha1"};
    const QStringList mobile = {"EdtMFEIP2",         "EdtMFEMask2",      "EdtMFEGW2",
                                "EdtMFEDNS12",       "EdtMFEDNS22",      "EdtMFEProxyIP2",
                                "EdtMFEProxyPorta2", "EdtMFEProxyUser2", "EdtMFEProxySenha2"};
    const QStringList carrier = {"EdtMFEUsuario", "EdtMFESenha", "EdtMFEPhone", "EdtMFEAPN"};

    QStringList carrierTexts() {
        QStringList texts;
        for (const QString& name : carrier)
            texts << child<QLineEdit>(name)->text();
        return texts;
    }

private slots:
    void initTestCase() { openPage("BtnConfInterfaceMFE"); }

    void startState() {
        QCOMPARE(child<QLineEdit>("EdtMFEInter1")->text(), QString("ETHERNET"));
        QVERIFY(child<QLineEdit>("EdtMFEInter2")->isReadOnly());
        QCOMPARE(child<QComboBox>("CboMFERede1")->currentText(), QString("DHCP"));
        QCOMPARE(child<QComboBox>("CboMFEProxy1")->currentText(), QString("NENHUM"));
        QVERIFY(!child<QComboBox>("CboMFERede2")->isEnabled());
        QVERIFY(!child<QComboBox>("CboMFEProxy2")->isEnabled());
        // Every address and proxy edit starts enabled, although the combos show DHCP and NENHUM.
        QCOMPARE(states(addresses1), QString("11111"));
        QCOMPARE(states(proxy1), QString("1111"));
        QCOMPARE(states(mobile), QString("111111111"));
        QCOMPARE(states(carrier), QString("1111"));
        QCOMPARE(child<QGroupBox>("CboPrio")->title(), QString("Prioridade"));
        QVERIFY(child<QRadioButton>("CboPrio_0")->isChecked());
        QCOMPARE(child<QRadioButton>("CboPrio_1")->text(),
                 QString("1º 3G/GPRS    -  2º ETHERNET "));
        QCOMPARE(child<QLineEdit>("EdtMFEProxySenha1")->echoMode(), QLineEdit::Password);
        QCOMPARE(child<QLineEdit>("EdtMFEProxySenha2")->echoMode(), QLineEdit::Password);
        QCOMPARE(child<QLineEdit>("LblEdtMFECodRede")->echoMode(), QLineEdit::Password);
        QCOMPARE(child<QLineEdit>("EdtMFESenha")->echoMode(), QLineEdit::Normal);
    }

    void ethernetEditsFollowTheirCombos() {
        auto* rede = child<QComboBox>("CboMFERede1");
        rede->setCurrentIndex(1);
        QCOMPARE(states(addresses1), QString("11111"));
        rede->setCurrentIndex(0);
        QCOMPARE(states(addresses1), QString("00000"));
        auto* proxy = child<QComboBox>("CboMFEProxy1");
        const char* expected[] = {"0000", "1111", "0000"};
        for (int item : {1, 2, 0}) {
            proxy->setCurrentIndex(item);
            QCOMPARE(states(proxy1), QString(expected[item]));
        }
        QCOMPARE(states(mobile), QString("111111111")); // their combos cannot be used
    }

    void carrierButtonsWriteTheirPresets() {
        for (const network::CarrierPreset& preset : network::carrierPresets) {
            child<QPushButton>("Bit" + QString::fromUtf8(preset.name))->click();
            QCOMPARE(carrierTexts(), (QStringList{QString::fromUtf8(preset.usuario),
                                                  QString::fromUtf8(preset.senha), "*99#",
                                                  QString::fromUtf8(preset.apn)}));
        }
        child<QPushButton>("BitNenhum")->click();
        QCOMPARE(carrierTexts(), (QStringList{"", "", "", ""}));
    }

    void executeSendsTheTextShown() {
        child<QPushButton>("BitVIVO")->click();
        child<QRadioButton>("CboPrio_1")->click();
        child<QLineEdit>("LblEdtMFECodRede")->setText("12345678");
        fake.setAnswer("000001|12000|Rede configurada com sucesso||");
        child<QPushButton>("BtnMostra_16")->click();
        child<QPushButton>("BtnExecuta_16")->click();
        const QString command = child<QPlainTextEdit>("MemoComando_16")->toPlainText();
        QVERIFY2(command.contains("<prioridade>1</prioridade></config>|<?xml"),
                 qPrintable(command));
        QVERIFY2(command.endsWith("<APN>zap.vivo.com.br</APN></config>||)"), qPrintable(command));
        const QString sent = command.mid(command.indexOf(",12345678,") + 10).chopped(1);
        QCOMPARE(fake.lastCall().section("|", 3), sent);
        QCOMPARE(sent.count('|'), 3);
    }

    void cleanupTestCase() { window.reset(); }
};

QTEST_MAIN(ConfigurarInterfaceMfePageTest)
#include "configurar_interface_mfe_page_test.moc"
