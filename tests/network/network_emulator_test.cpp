// The network pages' configurations against the module emulator: accepted, stored, and shown
// again by both status reports.

#include "access/integrador_answer.h"
#include "operations/extended_status_report.h"
#include "operations/status_report.h"
#include "tests/emulator/emulator_library.h"
#include "tests/emulator/sale_documents.h"
#include "tests/network/network_test_support.h"
#include "tests/support/answer_text.h"
#include "xml/xml_format.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using emulator_test::activationCode;
using network_test::inputsOf;
using testing::HasSubstr;
using testing::StartsWith;

std::string joined(const core::Lines& lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\n";
    return text;
}

// The value of the report line labelled `label`; empty when there is none.
std::string valueOf(const core::Lines& lines, const std::string& label) {
    for (const auto& line : lines)
        if (line.starts_with(" " + label + " ."))
            return line.substr(line.rfind(' ') + 1);
    return {};
}

class NetworkAgainstEmulator : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_THAT(lib.call("AtivarSAT", 1, 1, activationCode.c_str(),
                             emulator_test::taxpayerCnpj.c_str(), 35),
                    StartsWith("000001|04000|"));
    }

    std::string configure(int page, int session, const core::Inputs& inputs) {
        const std::string sent = network_test::sentConfiguration(page, inputs);
        return lib.call(std::string(core::operationByPage(page)->name).c_str(), session,
                        activationCode.c_str(), sent.c_str());
    }

    std::string call(const char* name, int session) {
        return lib.call(name, session, activationCode.c_str());
    }

    emulator_test::StateFolder state;
    emulator_test::EmulatorLibrary lib;
};

TEST_F(NetworkAgainstEmulator, FixedAddressIsStoredAndShownByBothStatusReports) {
    const auto inputs = inputsOf({{"codigo", activationCode},
                                  {"tipo-lan", "IP FIXO"},
                                  {"ip", "192.168.001.050"},
                                  {"mascara", "255.255.255.000"},
                                  {"gateway", "192.168.001.001"},
                                  {"dns1", "008.008.008.008"},
                                  {"dns2", "008.008.004.004"},
                                  {"proxy", "configuracao"},
                                  {"proxy-ip", "192.168.001.002"},
                                  {"proxy-porta", "3128"},
                                  {"proxy-usuario", "técnico"},
                                  {"proxy-senha", "p|ç&"}});
    ASSERT_THAT(configure(1, 2, inputs), StartsWith("000002|12000|"));

    const core::Lines status = operations::statusReport(call("ConsultarStatusOperacional", 3));
    const core::Lines extended =
        operations::extendedStatusPageReport(call("ConsultarStatusOperacionalMFE", 4));
    const struct {
        const char* statusLabel;
        const char* extendedLabel;
        const char* value;
    } fields[] = {
        {"TIPO_LAN", "Tipo de Rede", "IPFIX"},
        {"LAN_IP", "IP", "192.168.001.050"},
        {"LAN_MASK", "Máscara", "255.255.255.000"},
        {"LAN_GW", "Gateway", "192.168.001.001"},
        {"LAN_DNS_1", "DNS Primário", "008.008.008.008"},
        {"LAN_DNS_2", "DNS Secundário", "008.008.004.004"},
    };
    for (const auto& f : fields) {
        EXPECT_EQ(valueOf(status, f.statusLabel), f.value) << joined(status);
        EXPECT_EQ(valueOf(extended, f.extendedLabel), f.value) << joined(extended);
    }
    // The stored proxy password reads back as sent.
    EXPECT_THAT(joined(extended), HasSubstr("<proxy_senha>p|ç&amp;</proxy_senha>"));
}

TEST_F(NetworkAgainstEmulator, ExtendedConfigurationFillsNetworksOneAndTwo) {
    const auto inputs = inputsOf({{"codigo", activationCode},
                                  {"usuario-movel", "claro"},
                                  {"senha-movel", "claro"},
                                  {"phone", "*99#"},
                                  {"apn", "claro.com.br"},
                                  {"prioridade", "movel"}});
    ASSERT_THAT(configure(16, 2, inputs), StartsWith("000002|12000|"));

    const std::string answer = call("ConsultarStatusOperacionalMFE", 3);
    const auto fields = test_support::answerFields(answer);
    ASSERT_GT(fields.size(), 37u) << answer;
    EXPECT_THAT(fields[33], HasSubstr("<tipoInter>ETHE</tipoInter>"));
    EXPECT_THAT(fields[33], HasSubstr("<prioridade>1</prioridade>"));
    EXPECT_THAT(fields[34], HasSubstr("<tipoInter>GPR1</tipoInter>"));
    EXPECT_THAT(fields[34], HasSubstr("<APN>claro.com.br</APN>"));
    EXPECT_EQ(fields[35], "NA");
    EXPECT_EQ(fields[36], "NA");
    EXPECT_EQ(fields[37], "CLARO");

    const std::string report = joined(operations::extendedStatusPageReport(answer));
    EXPECT_THAT(report, HasSubstr("Configuração da rede 1"));
    EXPECT_THAT(report, HasSubstr("Configuração da rede 2"));
    EXPECT_THAT(report, testing::Not(HasSubstr("Configuração da rede 3")));
    EXPECT_THAT(report, HasSubstr("<APN>claro.com.br</APN>"));
}

} // namespace
