#include "tests/documents/base64_encoder.h"
#include "tests/support/test_program.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

// Page 9 in library mode: issued-CF-e mode from the file choice to the saved answer, the refusal
// once the file is chosen again, and the validate button on an issued CF-e.
class CancelLastSalePageTest : public QObject {
    Q_OBJECT

    testing_support::TestProgram program;
    testing_support::FakeLibrary fake;
    std::unique_ptr<app::MainWindow> window;
    QString issued; // an issued CF-e, as the sale page saves it

    const QString key = "CFe35261212345678000195597966232000000014916358";

    template <typename T> T* child(const char* name) {
        T* found = window->findChild<T*>(name);
        if (!found)
            qFatal("no widget %s", name);
        return found;
    }
    QString command() { return child<QPlainTextEdit>("MemoComando_9")->toPlainText(); }
    QColor commandColour() {
        return child<QPlainTextEdit>("MemoComando_9")->palette().color(QPalette::Text);
    }
    QString labelOf(QWidget* field) {
        for (const QLabel* label : window->findChildren<QLabel*>())
            if (label->buddy() == field)
                return label->text();
        return {};
    }
    // The file choice: the field emptied, then the path put in whole.
    void choose(const QString& file) {
        child<QLineEdit>("EdtXml_9")->clear();
        child<QLineEdit>("EdtXml_9")->setText(file);
    }

private slots:
    void initTestCase() {
        program.installFakeLibrary();
        program.writeIni("[DEFAULT]\r\nACESSO=DLL\r\n");
        QDir().mkpath(program.path("Retornos"));
        issued = program.path("Retornos/Resp_venda.xml");
        QVERIFY(QFile::copy(TARVIK_FIXTURES_DIR "/documents/issued_cfe.xml", issued));
        window = program.start();
        child<QPushButton>("BtnCancelarUltVenda")->click();
    }

    void checkingCFeRelabelsAndEmptiesTheField() {
        child<QLineEdit>("EdtXml_9")->setText(issued);
        QVERIFY(child<QPushButton>("BtnValida_9")->isEnabled());
        QVERIFY(!child<QPushButton>("BtnGeraCanc_9")->isEnabled()); // document mode
        child<QCheckBox>("CheckCFe")->click();
        QCOMPARE(child<QLineEdit>("EdtXml_9")->text(), QString());
        for (const char* name :
             {"BtnBrowser_9", "BtnValida_9", "BtnGeraCanc_9", "BtnBrowserCanc_9"})
            QVERIFY2(!child<QPushButton>(name)->isEnabled(), name);
        QCOMPARE(labelOf(child<QLineEdit>("EdtXml_9")), QString("CFe Emitido:"));
    }

    void generateShowExecuteAndSave() {
        choose(issued);
        QVERIFY(child<QPushButton>("BtnGeraCanc_9")->isEnabled());
        child<QPushButton>("BtnGeraCanc_9")->click();
        const QString generated = program.path("Temp/Canc_Resp_venda.xml");
        QVERIFY(QFile::exists(generated));
        QCOMPARE(program.dialogs.shown.takeLast(),
                 QString("message:CFeCanc gerado na pasta Temp com nome: Canc_Resp_venda.xml"));
        QVERIFY(child<QLabel>("LblchCanc")->isVisibleTo(window.get()));
        QCOMPARE(child<QLabel>("LblchCanc")->text(), key);
        QVERIFY(child<QPushButton>("BtnBrowserCanc_9")->isEnabled());

        const QByteArray document = "<CFeCanc><infCFe Id=\"CFe1\"/></CFeCanc>";
        const QByteArray answer =
            "000123|07000||Cancelado com sucesso + conteúdo notas|||" +
            QByteArray::fromStdString(documents_test::base64(document.toStdString())) +
            "|20261210133000|CFe1|20.61|52998224725|qr";
        fake.setAnswer(answer.constData());
        child<QLineEdit>("EdtCodAtiv_9")->setText("12345678");
        child<QPushButton>("BtnMostra_9")->click();
        QVERIFY2(command().startsWith("CancelarUltimaVenda("), qPrintable(command()));
        QVERIFY(command().contains(",12345678," + key + ",<?xml"));
        const int calls = fake.callCount();
        child<QPushButton>("BtnExecuta_9")->click();
        QCOMPARE(fake.callCount(), calls + 1);
        const QStringList sent = fake.lastCall().split('|');
        QCOMPARE(sent.at(0), QString("CancelarUltimaVenda"));
        QCOMPARE(sent.at(3), key);
        QCOMPARE(sent.at(4).toUtf8(),
                 testing_support::readFile(generated).toUtf8().replace("\r\n", "\n\r"));

        QCOMPARE(program.dialogs.shown.mid(program.dialogs.shown.size() - 2),
                 QStringList({"message:Cancelado com sucesso + conteúdo notas",
                              "message:CFeCanc de retorno salvo na pasta Retornos com nome: "
                              "RespCanc_Resp_venda.xml"}));
        QCOMPARE(testing_support::readFile(program.path("Retornos/RespCanc_Resp_venda.xml")),
                 QString(document + "\r\n"));
        QVERIFY(child<QPushButton>("BtnNaveg_9")->isEnabled());
        QVERIFY(child<QPlainTextEdit>("MemoResposta_9")
                    ->toPlainText()
                    .contains("\n---- XML do CFeCanc emitido --------------------------\n" +
                              document + "\n"));
    }

    // Choosing the file again deletes the CFeCanc generated from it: "Mostrar" refuses and
    // "Executar", still enabled from the "Mostrar" before, makes no call.
    void choosingTheFileAgainRefusesUntilGeneratedAgain() {
        child<QPushButton>("BtnMostra_9")->click();
        QVERIFY(child<QPushButton>("BtnExecuta_9")->isEnabled());
        choose(issued);
        QVERIFY(!QFile::exists(program.path("Temp/Canc_Resp_venda.xml")));
        QVERIFY(!child<QPushButton>("BtnBrowserCanc_9")->isEnabled());
        const int calls = fake.callCount();
        child<QPushButton>("BtnExecuta_9")->click();
        QCOMPARE(fake.callCount(), calls);
        QCOMPARE(command(), QString("Arquivo de CFeCanc ainda não foi gerado"));
        QCOMPARE(commandColour(), QColor(Qt::red));
        QVERIFY(!child<QPushButton>("BtnExecuta_9")->isEnabled());
        child<QPushButton>("BtnMostra_9")->click();
        QCOMPARE(command(), QString("Arquivo de CFeCanc ainda não foi gerado"));
        QCOMPARE(fake.callCount(), calls);
    }

    void validatesTheIssuedCFeAgainstTheReceptionSchema() {
        const QString schema = TARVIK_SHARED_DIR "/schemas/issued/CfeRecepcao_0007.xsd";
        if (!QFile::exists(schema))
            QSKIP("../shared/schemas/issued/CfeRecepcao_0007.xsd is missing");
        QDir().mkpath(program.path("Schemas"));
        QVERIFY(QFile::copy(schema, program.path("Schemas/CfeRecepcao_0007.xsd")));
        child<QPushButton>("BtnValida_9")->click();
        QCOMPARE(command().split('\n'), QStringList({"Submetendo ao XSD do layout 0.07 ...",
                                                     "Validação do XML do CFe OK."}));
    }

    void cleanupTestCase() { window.reset(); }
};

QTEST_MAIN(CancelLastSalePageTest)
#include "cancel_last_sale_page_test.moc"
