// The library as a point-of-sale client that expects the whole SAT interface meets it: all
// eighteen functions resolved by name through dlopen, the ICP-Brasil activation and renewal, the
// last fiscal session after a sale and after a cancellation, and the busy rehearsal.

#include "emulator_library.h"
#include "issued_documents.h"
#include "sale_documents.h"
#include "tests/portable.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <fstream>

namespace emulator_test {
namespace {

using ::testing::ElementsAre;
using ::testing::SizeIs;
using ::testing::StartsWith;

const char* code = activationCode.c_str();

class ClientLifecycle : public ::testing::Test {
protected:
    std::string stateValue(const char* name) const {
        std::ifstream in(state.stateFile());
        return nlohmann::json::parse(in).at(name).get<std::string>();
    }

    void associate(int session) {
        const std::string value = softwareHouseCnpj + taxpayerCnpj;
        const auto answer = answerFields(
            lib.call("AssociarAssinatura", session, code, value.c_str(), acSignature().c_str()));
        ASSERT_EQ(answer.at(1), "13000");
    }

    StateFolder state;
    EmulatorLibrary lib;
};

TEST_F(ClientLifecycle, ResolvesAllEighteenFunctions) {
    for (const char* name :
         {"ConsultarSAT", "ConfigurarInterfaceDeRede", "AtivarSAT", "AssociarAssinatura",
          "TesteFimAFim", "ConsultarStatusOperacional", "TrocarCodigoDeAtivacao", "ExtrairLogs",
          "EnviarDadosVenda", "CancelarUltimaVenda", "ConsultarNumeroSessao", "BloquearSAT",
          "DesbloquearSAT", "AtualizarSoftwareSAT", "ConsultarStatusOperacionalMFE",
          "ConfigurarInterfaceDeRedeMFE", "ComunicarCertificadoICPBRASIL",
          "ConsultarUltimaSessaoFiscal"})
        EXPECT_NE(lib.symbol(name), nullptr) << name;
}

TEST_F(ClientLifecycle, IcpBrasilActivationWaitsForTheCertificateOfItsOwnRequest) {
    EXPECT_EQ(
        lib.call("ComunicarCertificadoICPBRASIL", 1, code, "x"),
        "000001|05099|Erro desconhecido||Não existe ativação nem renovação aguardando certificado");
    const auto requested =
        answerFields(lib.call("AtivarSAT", 2, 2, code, taxpayerCnpj.c_str(), 35));
    ASSERT_THAT(requested, SizeIs(6));
    EXPECT_THAT(requested, ElementsAre("000002", "04006", "CSR ICP-BRASIL criado com sucesso", "",
                                       "", ::testing::_));
    const std::string certificate = certificateForRequest(decodeBase64(requested[5]));
    ASSERT_THAT(certificate, StartsWith("-----BEGIN CERTIFICATE-----"));

    // Until the certificate comes the module is not activated.
    EXPECT_THAT(lib.call("EnviarDadosVenda", 3, code, saleDocument(1).c_str()),
                StartsWith("000003|06002|0000|SAT ainda não ativado|"));
    const auto waiting = answerFields(lib.call("ConsultarStatusOperacional", 4, code));
    ASSERT_THAT(waiting, SizeIs(28));
    EXPECT_EQ(waiting[1], "10000");
    EXPECT_EQ(waiting[25], ""); // CERT_EMISSAO
    EXPECT_EQ(waiting[26], ""); // CERT_VENCIMENTO
    EXPECT_EQ(lib.call("ConsultarStatusOperacional", 4, "errado-123"),
              "000004|10001|Código de ativação inválido||");
    EXPECT_EQ(lib.call("ComunicarCertificadoICPBRASIL", 5, "errado-123", certificate.c_str()),
              "000005|05001|Código de ativação inválido||");
    EXPECT_THAT(lib.call("ComunicarCertificadoICPBRASIL", 6, code, unrelatedCertificate().c_str()),
                StartsWith("000006|05003|Certificado inválido||"));
    EXPECT_THAT(lib.call("ComunicarCertificadoICPBRASIL", 7, code, "não é um certificado"),
                StartsWith("000007|05003|Certificado inválido||"));

    // SEFAZ unreachable (a rehearsed outage) leaves the module waiting.
    portable::setVariable("MFE_EMULADOR_SEM_SEFAZ", "1");
    EXPECT_THAT(lib.call("ComunicarCertificadoICPBRASIL", 8, code, certificate.c_str()),
                StartsWith("000008|05002|Erro de comunicação com a SEFAZ||"));
    portable::unsetVariable("MFE_EMULADOR_SEM_SEFAZ");

    // The certificate of its request, here as Base64 of the PEM, completes the activation.
    EXPECT_EQ(lib.call("ComunicarCertificadoICPBRASIL", 8, code, encodeBase64(certificate).c_str()),
              "000008|05000|Certificado transmitido com sucesso||");
    EXPECT_EQ(stateValue("certificado"), certificate);
    EXPECT_EQ(
        lib.call("ComunicarCertificadoICPBRASIL", 9, code, certificate.c_str()),
        "000009|05099|Erro desconhecido||Não existe ativação nem renovação aguardando certificado");
    EXPECT_EQ(lib.call("AtivarSAT", 10, 2, code, taxpayerCnpj.c_str(), 35),
              "000010|04003|SAT já ativado||");

    // It sells, and the QR code's signature verifies with the authority's certificate.
    associate(11);
    const auto sale = answerFields(lib.call("EnviarDadosVenda", 12, code, saleDocument(1).c_str()));
    ASSERT_THAT(sale, SizeIs(12));
    EXPECT_EQ(sale[1], "06000");
    EXPECT_TRUE(
        signatureVerifies(certificate, sale[8].substr(3) + sale[7] + sale[9] + sale[10], sale[11]));
    const auto status = answerFields(lib.call("ConsultarStatusOperacional", 13, code));
    EXPECT_EQ(stateValue("certificadoEmissao"), status[25]);
    EXPECT_EQ(stateValue("certificadoVencimento"), status[26]);
}

// The renewal of the ICP-Brasil certificate (AtivarSAT, subComando 3): a request for a new key,
// sales still signed with the current certificate, the switch when the new certificate comes.
TEST_F(ClientLifecycle, IcpBrasilRenewalSwitchesCertificatesOnlyWhenTheNewOneComes) {
    EXPECT_THAT(lib.call("AtivarSAT", 1, 3, code, taxpayerCnpj.c_str(), 35),
                StartsWith("000001|04099|Erro desconhecido na ativação||A renovação"));
    const auto requested =
        answerFields(lib.call("AtivarSAT", 2, 2, code, taxpayerCnpj.c_str(), 35));
    const std::string current = certificateForRequest(decodeBase64(requested.at(5)));
    ASSERT_THAT(lib.call("ComunicarCertificadoICPBRASIL", 3, code, current.c_str()),
                StartsWith("000003|05000|"));
    associate(4);

    EXPECT_THAT(lib.call("AtivarSAT", 5, 3, "errado-123", taxpayerCnpj.c_str(), 35),
                StartsWith("000005|04099|"));
    EXPECT_THAT(lib.call("AtivarSAT", 6, 3, code, softwareHouseCnpj.c_str(), 35),
                StartsWith("000006|04002|"));
    const auto renewal = answerFields(lib.call("AtivarSAT", 7, 3, code, taxpayerCnpj.c_str(), 35));
    ASSERT_THAT(renewal, ElementsAre("000007", "04006", "CSR ICP-BRASIL criado com sucesso", "", "",
                                     ::testing::_));
    EXPECT_NE(renewal[5], requested[5]);
    const std::string renewed = certificateForRequest(decodeBase64(renewal[5]), 2 * 365);

    // Until the new certificate comes, the current one signs, and only the new one is taken.
    const auto sold = [&](int session, const std::string& certificate) {
        const auto sale =
            answerFields(lib.call("EnviarDadosVenda", session, code, saleDocument(1).c_str()));
        return sale.size() == 12 &&
               signatureVerifies(certificate, sale[8].substr(3) + sale[7] + sale[9] + sale[10],
                                 sale[11]);
    };
    EXPECT_TRUE(sold(8, current));
    EXPECT_THAT(lib.call("ComunicarCertificadoICPBRASIL", 9, code, current.c_str()),
                StartsWith("000009|05003|Certificado inválido||"));
    const auto before = answerFields(lib.call("ConsultarStatusOperacional", 10, code));
    EXPECT_EQ(lib.call("ComunicarCertificadoICPBRASIL", 11, code, renewed.c_str()),
              "000011|05000|Certificado transmitido com sucesso||");
    EXPECT_TRUE(sold(12, renewed));
    EXPECT_EQ(stateValue("certificado"), renewed);
    const auto after = answerFields(lib.call("ConsultarStatusOperacional", 13, code));
    EXPECT_EQ(after[26], stateValue("certificadoVencimento"));
    EXPECT_NE(after[26], before[26]); // two years instead of three
    EXPECT_THAT(lib.call("ComunicarCertificadoICPBRASIL", 14, code, renewed.c_str()),
                StartsWith("000014|05099|"));
}

// An AC-SAT certificate is not renewed this way.
TEST_F(ClientLifecycle, AcSatModuleRefusesTheIcpBrasilRenewal) {
    ASSERT_THAT(lib.call("AtivarSAT", 1, 1, code, taxpayerCnpj.c_str(), 35),
                StartsWith("000001|04000|"));
    EXPECT_THAT(lib.call("AtivarSAT", 2, 3, code, taxpayerCnpj.c_str(), 35),
                StartsWith("000002|04003|SAT já ativado||O certificado deste módulo é AC-SAT"));
}

TEST_F(ClientLifecycle, LastFiscalSessionRepeatsTheLastSaleOrCancellationWordForWord) {
    EXPECT_EQ(lib.call("ConsultarUltimaSessaoFiscal", 1, code),
              "000001|19002|SAT ainda não ativado||");
    ASSERT_THAT(lib.call("AtivarSAT", 2, 1, code, taxpayerCnpj.c_str(), 35),
                StartsWith("000002|04000|"));
    associate(3);
    EXPECT_EQ(lib.call("ConsultarUltimaSessaoFiscal", 4, "errado-123"),
              "000004|19001|Código de ativação inválido||");
    EXPECT_EQ(lib.call("ConsultarUltimaSessaoFiscal", 5, code),
              "000005|19003|Não existe sessão fiscal||");

    const std::string sale = lib.call("EnviarDadosVenda", 6, code, saleDocument(1).c_str());
    ASSERT_THAT(sale, StartsWith("000006|06000|"));
    EXPECT_EQ(lib.call("ConsultarSAT", 7), "000007|08000|SAT em Operação||");
    EXPECT_EQ(lib.call("ConsultarUltimaSessaoFiscal", 8, code), sale);

    const std::string key = answerFields(sale)[8];
    const std::string cancellation =
        lib.call("CancelarUltimaVenda", 9, code, key.c_str(), cancellationDocument(key).c_str());
    ASSERT_THAT(cancellation, StartsWith("000009|07000|"));
    EXPECT_EQ(lib.call("ConsultarUltimaSessaoFiscal", 10, code), cancellation);
    // The query repeats another session's answer and is not kept as a session of its own.
    EXPECT_EQ(lib.call("ConsultarNumeroSessao", 11, code, 10), "000011|11003|Sessão não existe||");
}

// MFE_EMULADOR_OCUPADO=N: the next N calls answer their busy code, the sale and the
// cancellation with the CCCC field; the same value does not start again, a new one does.
TEST_F(ClientLifecycle, BusyRehearsalAnswersTheNextCallsInProcessing) {
    struct BusySetting {
        BusySetting() { portable::setVariable("MFE_EMULADOR_OCUPADO", "3"); }
        ~BusySetting() { portable::unsetVariable("MFE_EMULADOR_OCUPADO"); }
    } busy;
    EXPECT_EQ(lib.call("ConsultarSAT", 1), "000001|08098|SAT em processamento. Tente novamente.||");
    EXPECT_EQ(lib.call("EnviarDadosVenda", 2, code, saleDocument(1).c_str()),
              "000002|06098|0000|SAT em processamento. Tente novamente.||");
    EXPECT_EQ(lib.call("ComunicarCertificadoICPBRASIL", 3, code, "x"),
              "000003|05098|SAT em processamento. Tente novamente.||");
    EXPECT_EQ(lib.call("ConsultarSAT", 4), "000004|08000|SAT em Operação||");
    EXPECT_EQ(lib.call("ConsultarSAT", 5), "000005|08000|SAT em Operação||");
    portable::setVariable("MFE_EMULADOR_OCUPADO", "1");
    EXPECT_EQ(lib.call("CancelarUltimaVenda", 6, code, "CFe", "<CFeCanc/>"),
              "000006|07098|0000|SAT em processamento. Tente novamente.||");
    EXPECT_THAT(lib.call("CancelarUltimaVenda", 7, code, "CFe", "<CFeCanc/>"),
                StartsWith("000007|07001|"));
}

} // namespace
} // namespace emulator_test
