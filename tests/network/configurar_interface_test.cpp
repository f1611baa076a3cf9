// ConfigurarInterfaceDeRede: the configuration document sent for each state of the form, the
// analysis, and a prepared document sent in place of the form.

#include "network/configuration_call.h"
#include "tests/network/network_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using network_test::declaration;
using network_test::inputsOf;
using network_test::sentConfiguration;

constexpr int page = 1;

std::string document(const std::string& elements) {
    return std::string(declaration) + "<config>" + elements + "</config>";
}

const std::string fixedAddresses =
    "<lanIP>192.168.001.010</lanIP><lanMask>255.255.255.000</lanMask>"
    "<lanGW>192.168.001.001</lanGW>";

TEST(ConfigurarInterfaceDocument, FollowsTheForm) {
    const struct {
        const char* name;
        core::Inputs inputs;
        std::string expected;
    } cases[] = {
        {"DHCP without proxy", inputsOf({{"tipo-lan", "DHCP"}, {"proxy", "nenhum"}}),
         document("<tipoInter>ETHE</tipoInter><tipoLan>DHCP</tipoLan><proxy>0</proxy>")},
        {"fixed address with everything filled",
         inputsOf({{"tipo-lan", "IP FIXO"},
                   {"ip", "192.168.001.010"},
                   {"mascara", "255.255.255.000"},
                   {"gateway", "192.168.001.001"},
                   {"dns1", "008.008.008.008"},
                   {"dns2", "008.008.004.004"},
                   {"proxy", "configuracao"},
                   {"proxy-ip", "192.168.001.002"},
                   {"proxy-porta", "3128"},
                   {"proxy-usuario", " ana "},
                   {"proxy-senha", "s3nha"}}),
         document("<tipoInter>ETHE</tipoInter><tipoLan>IPFIX</tipoLan>" + fixedAddresses +
                  "<lanDNS1>008.008.008.008</lanDNS1><lanDNS2>008.008.004.004</lanDNS2>"
                  "<proxy>1</proxy><proxy_ip>192.168.001.002</proxy_ip>"
                  "<proxy_porta>3128</proxy_porta><proxy_user> ana </proxy_user>"
                  "<proxy_senha>s3nha</proxy_senha>")},
        {"fixed address with empty DNS: empty elements as libxml2 writes them",
         inputsOf({{"tipo-lan", "IP FIXO"},
                   {"ip", "192.168.001.010"},
                   {"mascara", "255.255.255.000"},
                   {"gateway", "192.168.001.001"}}),
         document("<tipoInter>ETHE</tipoInter><tipoLan>IPFIX</tipoLan>" + fixedAddresses +
                  "<lanDNS1/><lanDNS2/><proxy>0</proxy>")},
        {"transparent proxy with text left in the proxy edits",
         inputsOf({{"proxy", "transparente"},
                   {"proxy-ip", "192.168.001.002"},
                   {"proxy-porta", "3128"},
                   {"proxy-usuario", "ana"},
                   {"proxy-senha", "x"}}),
         document("<tipoInter>ETHE</tipoInter><tipoLan>DHCP</tipoLan><proxy>2</proxy>")},
        {"\"&\", \"ç\" and \"|\" in a password: escaped, UTF-8, \"|\" as a reference",
         inputsOf({{"proxy", "configuracao"}, {"proxy-senha", "a&b<ç|\"d"}}),
         document("<tipoInter>ETHE</tipoInter><tipoLan>DHCP</tipoLan><proxy>1</proxy>"
                  "<proxy_ip/><proxy_porta/><proxy_user/>"
                  "<proxy_senha>a&amp;b&lt;\xC3\xA7&#124;\"d</proxy_senha>")},
        {"tipoLan follows the typed text, the addresses the item it chooses",
         inputsOf({{"tipo-lan", "PPPoE"}, {"ip", "192.168.001.010"}}),
         document("<tipoInter>ETHE</tipoInter><tipoLan>PPPoE</tipoLan><proxy>0</proxy>")},
        {"another network type is written as typed", inputsOf({{"tipo-inter", "WIFI"}}),
         document("<tipoInter>WIFI</tipoInter><tipoLan>DHCP</tipoLan><proxy>0</proxy>")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sentConfiguration(page, c.inputs), c.expected) << c.name;
}

TEST(ConfigurarInterfaceCall, SendsTheCodeAsTypedAndTheDocumentAsItsBytes) {
    const core::PreparedCall call =
        network_test::prepared(page, inputsOf({{"codigo", " 1234567"}, {"proxy-senha", "ç"}}));
    EXPECT_EQ(call.text, "ConfigurarInterfaceDeRede(000123, 1234567," +
                             document("<tipoInter>ETHE</tipoInter><tipoLan>DHCP</tipoLan>"
                                      "<proxy>0</proxy>") +
                             ")");
    ASSERT_EQ(call.arguments.size(), 3u);
    EXPECT_EQ(call.arguments[1].kind, core::Argument::Kind::Text);
    EXPECT_EQ(call.arguments[1].text, " 1234567");
    EXPECT_EQ(call.arguments[2].kind, core::Argument::Kind::Document);
}

TEST(ConfigurarInterfaceCall, RefusesWhatNoDocumentCanCarry) {
    for (const auto& [key, value] : {std::pair<const char*, std::string>{"proxy", "socks"},
                                     {"ip", "192.168.\x01"},
                                     {"tipo-inter", "\xE7"},
                                     {"mascara", "255.\xEF\xBF\xBF"}}) {
        auto inputs = inputsOf({{"tipo-lan", "IP FIXO"}});
        inputs.set(key, value);
        EXPECT_THROW(network_test::prepared(page, inputs), std::invalid_argument) << key;
    }
}

TEST(ConfigurarInterfaceAnalysis, ReportsInOrder) {
    const std::string code = "Código de ativação deve ter entre 8 e 32 caracteres";
    const std::string format = " não atende ao formato \"nnn.nnn.nnn.nnn\"";
    const std::string range =
        " não atende a rfc1918 (010.xxx.xxx.xxx, 172.xxx.xxx.xxx, 192.168.xxx.xxx)";
    const std::string valid = "12345678";
    const struct {
        const char* name;
        core::Inputs inputs;
        core::Lines expected;
    } cases[] = {
        {"empty code", inputsOf({}), {"Código de ativação não pode ser nulo", code}},
        {"a code counted with its leading blank", inputsOf({{"codigo", " 1234567"}}), {}},
        {"DHCP: the addresses are not looked at", inputsOf({{"codigo", valid}, {"ip", "x"}}), {}},
        {"fixed address, all empty",
         inputsOf({{"codigo", valid}, {"tipo-lan", "IP FIXO"}}),
         {"IP" + format, "IP" + range, "Mascara de Rede" + format, "Gateway" + format,
          "Gateway" + range}},
        {"fixed address outside the private range, bad DNS",
         inputsOf({{"codigo", valid},
                   {"tipo-lan", "IP FIXO"},
                   {"ip", "011.000.000.001"},
                   {"mascara", "255.255.255.000"},
                   {"gateway", "172.016.000.001"},
                   {"dns1", "8.8.8.8"},
                   {"dns2", "008.008.004.004"}}),
         {"IP" + range, "DNS Primário" + format}},
        {"configured proxy, port 0",
         inputsOf({{"codigo", valid}, {"proxy", "configuracao"}, {"proxy-porta", "0"}}),
         {"IP do Proxy" + format, "Porta do Proxy não é válida"}},
        {"configured proxy, port above 99999",
         inputsOf({{"codigo", valid},
                   {"proxy", "configuracao"},
                   {"proxy-ip", "010.000.000.001"},
                   {"proxy-porta", "100000"}}),
         {"Porta do Proxy não é válida"}},
        {"configured proxy, a port that is not a number draws nothing",
         inputsOf({{"codigo", valid},
                   {"proxy", "configuracao"},
                   {"proxy-ip", "010.000.000.001"},
                   {"proxy-porta", "abc"}}),
         {}},
        {"transparent proxy is not looked at",
         inputsOf({{"codigo", valid}, {"proxy", "transparente"}, {"proxy-porta", "0"}}),
         {}},
        {"a proxy word that names no item",
         inputsOf({{"codigo", valid}, {"proxy", "socks"}}),
         {"--proxy \"socks\" não é nenhum, configuracao nem transparente"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(network_test::bound(page, c.inputs).analyse(), c.expected) << c.name;
}

TEST(ConfigurarInterfacePrepared, SendsTheFileUnchangedWithoutAnalysis) {
    const std::string file = "<config><tipoInter>ETHE</tipoInter>\r\n<x>\xE7</x></config>\n";
    const auto logic =
        network_test::bound(page, inputsOf({{"codigo", "12345678"}, {"xml", file}, {"ip", "x"}}));
    EXPECT_THAT(logic.analyse(), testing::ElementsAre(testing::HasSubstr("--xml")));
    const core::PreparedCall call = logic.prepare("000123");
    EXPECT_EQ(call.arguments.at(2).text, file);
    EXPECT_EQ(call.arguments.at(2).kind, core::Argument::Kind::Document);
}

// A prepared document given empty is refused on both network pages, whichever front end gives
// it: the form's defaults never go out in its place.
TEST(ConfigurarInterfacePrepared, AnEmptyOneIsRefusedNotReplacedByTheForm) {
    for (const int networkPage : {1, 16}) {
        SCOPED_TRACE(networkPage);
        const auto logic =
            network_test::bound(networkPage, inputsOf({{"codigo", "12345678"}, {"xml", ""}}));
        const std::string refused(network::emptyPreparedDocument);
        EXPECT_EQ(logic.analyse(),
                  (core::Lines{std::string(network::preparedDocumentNotice), refused}));
        ASSERT_TRUE(logic.refusal);
        EXPECT_EQ(logic.refusal(), refused);
        EXPECT_THROW(logic.prepare("000123"), std::invalid_argument);

        // Not given at all: the form is sent.
        const auto form = network_test::bound(networkPage, inputsOf({{"codigo", "12345678"}}));
        EXPECT_FALSE(form.refusal && form.refusal());
        EXPECT_NE(form.prepare("000123").arguments.at(2).text.find("<tipoLan>DHCP</tipoLan>"),
                  std::string::npos);
    }
}

} // namespace
