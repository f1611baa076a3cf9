// A module's life through the library's exported functions, as a point of sale would live it:
// activation, association, sale, status, cancellation, blocking, code change, logs, session
// query, network configuration. Every answer's layout is checked field by field, and the
// issued documents are checked with independent tools.

#include "emulator_library.h"
#include "issued_documents.h"
#include "sale_documents.h"
#include "tests/support/full_match.h"
#include "tests/support/published_files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>

namespace emulator_test {
namespace {

using test_support::FullyMatches;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::SizeIs;
using ::testing::StartsWith;

// The published schemas of the documents as issued (reception batch, cancellation).
const std::string schemas = std::string(TARVIK_PUBLISHED_SCHEMAS_DIR) + "/issued/";
const char* code = activationCode.c_str();

class LibraryLifecycle : public ::testing::Test {
protected:
    std::string certificate() const {
        std::ifstream in(state.stateFile());
        return nlohmann::json::parse(in).at("certificado").get<std::string>();
    }

    // Activates and associates the module, as every fiscal test needs.
    void prepare() {
        ASSERT_THAT(lib.call("AtivarSAT", 900001, 1, code, taxpayerCnpj.c_str(), 35),
                    StartsWith("900001|04000|"));
        const std::string value = softwareHouseCnpj + taxpayerCnpj;
        ASSERT_EQ(
            lib.call("AssociarAssinatura", 900002, code, value.c_str(), acSignature().c_str()),
            "900002|13000|Assinatura do AC registrada||");
    }

    // A sale of three items; the tests after a sale start from its answer.
    std::string sell(int session) {
        const std::string answer =
            lib.call("EnviarDadosVenda", session, code, saleDocument(3).c_str());
        EXPECT_EQ(answerFields(answer).at(1), "06000") << answer;
        return answer;
    }

    void expectSignedAndValid(const std::string& xml, const std::string& schema) {
#ifndef _WIN32 // the xmlsec1 program is a program of the build machine
        std::string output;
        EXPECT_TRUE(xmlsec1Verifies(xml, certificate(), output)) << output;
#endif
        EXPECT_EQ(schemaErrors(schemas + schema, schema == "CfeRecepcao_0007.xsd"
                                                     ? inReceptionBatch(xml)
                                                     : cancellationInfCFe(xml)),
                  "");
    }

    StateFolder state;
    EmulatorLibrary lib;
};

TEST_F(LibraryLifecycle, ActivationAnswersARequestForAFreshKeyOnlyOnce) {
    EXPECT_EQ(lib.call("ConsultarSAT", 4711), "004711|08000|SAT em Operação||");
    EXPECT_THAT(lib.call("EnviarDadosVenda", 2, code, saleDocument(1).c_str()),
                StartsWith("000002|06002|0000|SAT ainda não ativado|"));
    EXPECT_EQ(lib.call("AtivarSAT", 3, 1, code, "12345678000196", 35),
              "000003|04002|SEFAZ não reconhece este SAT (CNPJ inválido)||");
    EXPECT_THAT(lib.call("AtivarSAT", 4, 1, "curto", taxpayerCnpj.c_str(), 35),
                StartsWith("000004|04099|"));

    const auto activated =
        answerFields(lib.call("AtivarSAT", 5, 1, code, taxpayerCnpj.c_str(), 35));
    ASSERT_THAT(activated, SizeIs(6));
    EXPECT_THAT(activated,
                ElementsAre("000005", "04000", "Ativado corretamente", "", "", ::testing::_));
    EXPECT_THAT(decodeBase64(activated[5]), StartsWith("-----BEGIN CERTIFICATE REQUEST-----"));
    EXPECT_EQ(lib.call("AtivarSAT", 6, 1, code, taxpayerCnpj.c_str(), 35),
              "000006|04003|SAT já ativado||");
}

TEST_F(LibraryLifecycle, AssociationChecksCodeCnpjsAndSignature) {
    ASSERT_THAT(lib.call("AtivarSAT", 1, 1, code, taxpayerCnpj.c_str(), 35),
                StartsWith("000001|04000|"));
    const std::string value = softwareHouseCnpj + taxpayerCnpj;
    const std::string otherTaxpayer = softwareHouseCnpj + "11222333000181";
    EXPECT_EQ(lib.call("AssociarAssinatura", 2, "errado-123", value.c_str(), acSignature().c_str()),
              "000002|13001|Código de ativação inválido||");
    EXPECT_THAT(
        lib.call("AssociarAssinatura", 3, code, otherTaxpayer.c_str(), acSignature().c_str()),
        StartsWith("000003|13007|"));
    EXPECT_THAT(lib.call("AssociarAssinatura", 4, code, value.c_str(), "SGR-SAT"),
                StartsWith("000004|13003|"));
    EXPECT_EQ(lib.call("AssociarAssinatura", 5, code, value.c_str(), acSignature().c_str()),
              "000005|13000|Assinatura do AC registrada||");
}

// The sale: twelve fields and a signed CF-e that the published schema accepts.
TEST_F(LibraryLifecycle, SaleAnswersTwelveFieldsAndASignedCfe) {
    SKIP_WITHOUT_PUBLISHED_FILE(schemas, "-DTARVIK_SCHEMAS_SOURCE");
    prepare();
    const std::string saleAnswer = lib.call("EnviarDadosVenda", 10, code, saleDocument(3).c_str());
    const auto sale = answerFields(saleAnswer);
    ASSERT_THAT(sale, SizeIs(12)) << saleAnswer;
    EXPECT_THAT(
        std::vector(sale.begin(), sale.begin() + 6),
        ElementsAre("000010", "06000", "0000", "Emitido com sucesso + conteúdo notas", "", ""));
    const std::string cfe = decodeBase64(sale[6]);
    const std::string key = sale[8];
    EXPECT_THAT(sale[7], FullyMatches("20[0-9]{12}"));
    ASSERT_THAT(key, FullyMatches("CFe[0-9]{44}"));
    EXPECT_EQ(key.back(), keyCheckDigit(key.substr(3, 43)));
    EXPECT_EQ(xpathText(cfe, "/CFe/infCFe/@Id"), key);
    EXPECT_EQ(key.substr(3, 2) + key.substr(9, 14) + key.substr(23, 2), "35" + taxpayerCnpj + "59");
    EXPECT_EQ(xpathText(cfe, "//ide/dEmi") + xpathText(cfe, "//ide/hEmi"), sale[7]);
    EXPECT_EQ(sale[9], "61.83"); // 3 × (2 × 10.555 − 0.50)
    EXPECT_EQ(xpathText(cfe, "//total/vCFe"), sale[9]);
    EXPECT_EQ(sale[10], customerCpf);
    EXPECT_EQ(xpathText(cfe, "//ide/assinaturaQRCODE"), sale[11]);
    EXPECT_THAT(sale[11], SizeIs(344));
    EXPECT_TRUE(
        signatureVerifies(certificate(), key.substr(3) + sale[7] + sale[9] + sale[10], sale[11]));
    expectSignedAndValid(cfe, "CfeRecepcao_0007.xsd");
}

TEST_F(LibraryLifecycle, StatusReflectsTheSaleTheDatesAndTheCertificate) {
    prepare();
    const auto sale = answerFields(sell(10));
    const std::string cfe = decodeBase64(sale[6]);
    const std::string key = sale[8];
    const auto status = answerFields(lib.call("ConsultarStatusOperacional", 11, code));
    ASSERT_THAT(status, SizeIs(28));
    EXPECT_THAT(std::vector(status.begin(), status.begin() + 5),
                ElementsAre("000011", "10000", "Resposta com Sucesso", "", ""));
    EXPECT_EQ(status[5], xpathText(cfe, "//ide/nserieSAT"));
    EXPECT_EQ(status[6], "DHCP");
    EXPECT_THAT(status[7], FullyMatches("[0-9]{3}\\.[0-9]{3}\\.[0-9]{3}\\.[0-9]{3}"));
    EXPECT_EQ(status[20], key.substr(3));
    EXPECT_EQ(status[21], key.substr(3));
    EXPECT_EQ(status[22], key.substr(3));
    EXPECT_EQ(status[23], sale[7]);
    EXPECT_THAT(status[25], FullyMatches("20[0-9]{6}"));
    EXPECT_EQ(std::stoi(status[26].substr(0, 4)), std::stoi(status[25].substr(0, 4)) + 5);
    EXPECT_EQ(status[27], "0");
}

TEST_F(LibraryLifecycle, CancellationTakesOnlyTheLastSalesKeyAndOnlyOnce) {
    SKIP_WITHOUT_PUBLISHED_FILE(schemas, "-DTARVIK_SCHEMAS_SOURCE");
    prepare();
    const auto sale = answerFields(sell(10));
    const std::string key = sale[8];
    EXPECT_THAT(
        lib.call("CancelarUltimaVenda", 12, code, "CFe0", cancellationDocument(key).c_str()),
        StartsWith("000012|07002|0000|Cupom inválido|"));
    const std::string cancelAnswer =
        lib.call("CancelarUltimaVenda", 13, code, key.c_str(), cancellationDocument(key).c_str());
    const auto cancel = answerFields(cancelAnswer);
    ASSERT_THAT(cancel, SizeIs(12)) << cancelAnswer;
    EXPECT_THAT(std::vector(cancel.begin(), cancel.begin() + 6),
                ElementsAre("000013", "07000", "0000",
                            "Cupom cancelado com sucesso + conteúdo CF-e-SAT cancelado", "", ""));
    const std::string canc = decodeBase64(cancel[6]);
    EXPECT_EQ(xpathText(canc, "/CFeCanc/infCFe/@chCanc"), key);
    EXPECT_EQ(xpathText(canc, "/CFeCanc/infCFe/@Id"), cancel[8]);
    EXPECT_NE(cancel[8], key);
    EXPECT_EQ(cancel[9], sale[9]);
    EXPECT_EQ(cancel[10], customerCpf);
    expectSignedAndValid(canc, "CfeCancelamento_0007.xsd");
    EXPECT_EQ(
        lib.call("CancelarUltimaVenda", 14, code, key.c_str(), cancellationDocument(key).c_str()),
        "000014|07007|1218|Erro de validação do conteúdo||Rejeição: Chave de acesso do "
        "CF-e-SAT já consta como cancelado");
}

TEST_F(LibraryLifecycle, BlockingRefusesSalesWithTheBlockingCodeUntilUnblocked) {
    prepare();
    EXPECT_EQ(lib.call("BloquearSAT", 15, code),
              "000015|16000|Equipamento SAT bloqueado com sucesso||");
    EXPECT_EQ(lib.call("BloquearSAT", 16, code),
              "000016|16002|Equipamento SAT já está bloqueado||");
    EXPECT_EQ(answerFields(lib.call("ConsultarStatusOperacional", 17, code))[27], "2");
    EXPECT_EQ(lib.call("EnviarDadosVenda", 18, code, saleDocument(1).c_str()),
              "000018|06006|0000|SAT bloqueado pelo contribuinte||");
    EXPECT_EQ(lib.call("DesbloquearSAT", 19, code),
              "000019|17000|Equipamento SAT desbloqueado com sucesso||");
    EXPECT_EQ(lib.call("DesbloquearSAT", 20, code), "000020|17005|SAT já desbloqueado||");
}

TEST_F(LibraryLifecycle, ANewCodeReplacesTheOldOneAndTheEmergencyCodeSetsOneWithoutIt) {
    prepare();
    EXPECT_EQ(lib.call("TrocarCodigoDeAtivacao", 21, code, 1, "novo-codigo", "novo-codigo"),
              "000021|18000|Código de ativação alterado com sucesso||");
    EXPECT_EQ(lib.call("ConsultarStatusOperacional", 22, code),
              "000022|10001|Código de ativação inválido||");
    EXPECT_EQ(lib.call("TrocarCodigoDeAtivacao", 23, "EMERGENCIA", 2, code, code),
              "000023|18000|Código de ativação alterado com sucesso||");
}

TEST_F(LibraryLifecycle, EndToEndTestAnswersACfeButIsNoFiscalSale) {
    prepare();
    const std::string key = answerFields(sell(10))[8];
    const auto test = answerFields(lib.call("TesteFimAFim", 24, code, saleDocument(1).c_str()));
    ASSERT_THAT(test, SizeIs(9));
    EXPECT_THAT(std::vector(test.begin(), test.begin() + 5),
                ElementsAre("000024", "09000", "Emitido com sucesso", "", ""));
    EXPECT_EQ(xpathText(decodeBase64(test[5]), "//ide/nCFe"), test[7]);
    EXPECT_EQ(xpathText(decodeBase64(test[5]), "/CFe/infCFe/@Id"), test[8]);
    EXPECT_EQ(answerFields(lib.call("ConsultarStatusOperacional", 25, code))[22], key.substr(3));
}

// The log has a CRLF line per call, oldest first; the session query repeats an answer.
TEST_F(LibraryLifecycle, LogHasALinePerCallAndTheSessionQueryRepeatsAnAnswer) {
    prepare();
    const std::string saleAnswer = sell(10);
    const auto logs = answerFields(lib.call("ExtrairLogs", 26, code));
    ASSERT_THAT(logs, SizeIs(6));
    EXPECT_THAT(std::vector(logs.begin(), logs.begin() + 5),
                ElementsAre("000026", "15000", "Transferência completa", "", ""));
    const std::string log = decodeBase64(logs[5]);
    EXPECT_THAT(log, FullyMatches("([0-9/]{10};[0-9:]{8};[A-Za-z]+;[0-9]{6};[0-9]{5}\r\n){3}"));
    EXPECT_THAT(log, HasSubstr(";EnviarDadosVenda;000010;06000\r\n"));
    EXPECT_EQ(lib.call("ConsultarNumeroSessao", 27, code, 10), saleAnswer);
    EXPECT_EQ(lib.call("ConsultarNumeroSessao", 28, code, 555555),
              "000028|11003|Sessão não existe||");
}

TEST_F(LibraryLifecycle, SoftwareUpdateAdvancesTheBasicSoftwaresVersion) {
    prepare();
    EXPECT_EQ(answerFields(lib.call("ConsultarStatusOperacional", 29, code))[18], "01.00.00");
    EXPECT_EQ(lib.call("AtualizarSoftwareSAT", 30, code),
              "000030|14000|Software atualizado com sucesso||");
    EXPECT_EQ(answerFields(lib.call("ConsultarStatusOperacional", 31, code))[18], "01.01.00");
}

TEST_F(LibraryLifecycle, IssuedCfeMeetsThePublishedLayoutWhateverShapesTheSaleUsed) {
    SKIP_WITHOUT_PUBLISHED_FILE(schemas, "-DTARVIK_SCHEMAS_SOURCE");
    prepare();
    // A service item, rates written with fewer digits than the issued layout has, a blank
    // customer name (issued with the alert 1234) and a delivery address.
    std::string document = saleDocument(1);
    const auto replace = [&](std::string_view from, std::string_view to) {
        document = test_support::replacedFirst(document, from, to);
    };
    replace("<indRatISSQN>", "<IM>123456</IM><indRatISSQN>");
    replace("<pPIS>0.0165", "<pPIS>0.1");
    replace("</CPF></dest>", "</CPF><xNome> </xNome></dest><entrega><xLgr>Rua A</xLgr><nro>1"
                             "</nro><xBairro>Centro</xBairro><xMun>Fortaleza</xMun><UF>CE</UF>"
                             "</entrega>");
    replace("<total>",
            "<det nItem=\"2\"><prod><cProd>S</cProd><xProd>Servico</xProd><CFOP>5933</CFOP>"
            "<uCom>H</uCom><qCom>1.0000</qCom><vUnCom>21.00</vUnCom><indRegra>A</indRegra></prod>"
            "<imposto><ISSQN><vDeducISSQN>1.00</vDeducISSQN><vAliq>005.00</vAliq>"
            "<cServTribMun>12345678901234567890</cServTribMun><cNatOp>01</cNatOp>"
            "<indIncFisc>2</indIncFisc></ISSQN><PIS><PISNT><CST>04</CST></PISNT></PIS><COFINS>"
            "<COFINSNT><CST>04</CST></COFINSNT></COFINS></imposto></det><total>");

    const std::string answer = lib.call("EnviarDadosVenda", 10, code, document.c_str());
    const auto sale = answerFields(answer);
    ASSERT_THAT(sale, SizeIs(12)) << answer;
    EXPECT_EQ(sale[2], "1234");
    const std::string cfe = decodeBase64(sale[6]);
    EXPECT_EQ(xpathText(cfe, "//det[1]//pPIS"), "0.1000");
    EXPECT_EQ(xpathText(cfe, "//det[2]//vAliq"), "005.00");
    EXPECT_EQ(xpathText(cfe, "//dest/xNome"), "<none>");
    expectSignedAndValid(cfe, "CfeRecepcao_0007.xsd");
}

TEST_F(LibraryLifecycle, ExtendedStatusReportsTheStoredNetworkConfigurations) {
    prepare();
    const std::string ethernet =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><config><tipoInter>ETHE</tipoInter>"
        "<tipoLan>IPFIX</tipoLan><lanIP>192.168.1.10</lanIP><lanMask>255.255.255.0</lanMask>"
        "<lanGW>192.168.1.1</lanGW><lanDNS1>8.8.8.8</lanDNS1><lanDNS2></lanDNS2>"
        "<proxy>0</proxy><prioridade>1</prioridade></config>";
    const std::string mobile =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><config><tipoInter>GPR1</tipoInter>"
        "<tipoLan>DHCP</tipoLan><proxy>0</proxy><prioridade>0</prioridade><usuario>vivo"
        "</usuario><senha>a\"b&amp;c</senha><phone>*99#</phone><APN>zap.vivo.com.br</APN>"
        "</config>";
    EXPECT_EQ(
        lib.call("ConfigurarInterfaceDeRedeMFE", 1, code, (ethernet + "|" + mobile + "||").c_str()),
        "000001|12000|Rede configurada com sucesso||");
    EXPECT_THAT(lib.call("ConfigurarInterfaceDeRedeMFE", 2, code, ethernet.c_str()),
                StartsWith("000002|12002|Dados fora do padrão a ser informado||"));

    const auto status = answerFields(lib.call("ConsultarStatusOperacionalMFE", 3, code));
    ASSERT_THAT(status, SizeIs(59)); // fields 0 to 57 and the empty piece after the final "|"
    EXPECT_EQ(status[1], "10000");
    EXPECT_THAT(std::vector(status.begin() + 6, status.begin() + 13),
                ElementsAre("IPFIX", "192.168.001.010", ::testing::_, "255.255.255.000",
                            "192.168.001.001", "008.008.008.008", ""));
    EXPECT_THAT(std::vector(status.begin() + 27, status.begin() + 33),
                ElementsAre("0", "2", "35", "3", "1", "GPR1"));
    EXPECT_THAT(status[33], StartsWith("<?xml version=\\\"1.0\\\""));
    EXPECT_THAT(status[34], HasSubstr("<senha>a\\\"b&amp;c</senha>"));
    EXPECT_EQ(status[35], "NA");
    EXPECT_EQ(status[36], "NA");
    EXPECT_EQ(status[37], "VIVO");
    EXPECT_EQ(status[57], "0");
    EXPECT_EQ(status[58], "");
}

} // namespace
} // namespace emulator_test
