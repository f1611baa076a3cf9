// ConfigurarInterfaceDeRedeMFE: the extended configuration text of four slots for each state of
// the form, the carrier presets, and the analysis of both networks.

#include "network/configurar_interface_mfe.h"
#include "tests/network/network_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace {

using network_test::declaration;
using network_test::inputsOf;
using network_test::sentConfiguration;

constexpr int page = 16;

std::string document(const std::string& elements) {
    return std::string(declaration) + "<config>" + elements + "</config>";
}

std::string ethernet(const char* priority, const std::string& lan = "<tipoLan>DHCP</tipoLan>") {
    return document("<tipoInter>ETHE</tipoInter>" + lan + "<proxy>0</proxy><prioridade>" +
                    priority + "</prioridade>");
}

std::string mobile(const char* priority, const std::string& carrier) {
    return document("<tipoInter>GPR1</tipoInter><tipoLan>DHCP</tipoLan><proxy>0</proxy>"
                    "<prioridade>" +
                    std::string(priority) + "</prioridade>" + carrier);
}

const std::string vivo = "<usuario>vivo</usuario><senha>vivo</senha><phone>*99#</phone>"
                         "<APN>zap.vivo.com.br</APN>";

// The page's start state: DHCP, no proxy, ETHERNET first, no carrier data.
core::Inputs startState() {
    return inputsOf({{"codigo", "12345678"},
                     {"tipo-lan", "DHCP"},
                     {"proxy", "nenhum"},
                     {"rede-movel", "DHCP"},
                     {"proxy-movel", "nenhum"},
                     {"prioridade", "ethernet"}});
}

core::Inputs with(core::Inputs inputs,
                  std::initializer_list<std::pair<std::string_view, std::string>> values) {
    for (const auto& [key, value] : values)
        inputs.set(key, value);
    return inputs;
}

core::Inputs withPreset(core::Inputs inputs, std::string_view carrier) {
    const network::CarrierPreset* preset = network::carrierPreset(carrier);
    return with(std::move(inputs), {{"usuario-movel", std::string(preset->usuario)},
                                    {"senha-movel", std::string(preset->senha)},
                                    {"phone", std::string(preset->phone)},
                                    {"apn", std::string(preset->apn)}});
}

TEST(ConfigurarInterfaceMfeText, FollowsTheForm) {
    const struct {
        const char* name;
        core::Inputs inputs;
        std::string expected;
    } cases[] = {
        {"start state", startState(), ethernet("0") + "|||"},
        {"VIVO pressed", withPreset(startState(), "VIVO"),
         ethernet("0") + "|" + mobile("1", vivo) + "||"},
        {"the second priority item",
         with(withPreset(startState(), "VIVO"), {{"prioridade", "movel"}}),
         ethernet("1") + "|" + mobile("0", vivo) + "||"},
        {"carrier values trimmed, ETHERNET values as typed",
         with(startState(), {{"tipo-lan", "IP FIXO"},
                             {"ip", " 192.168.001.010"},
                             {"usuario-movel", " tim "},
                             {"senha-movel", "tim  "},
                             {"phone", "\t*99#"},
                             {"apn", "  tim.br"}}),
         ethernet("0", "<tipoLan>IPFIX</tipoLan><lanIP> 192.168.001.010</lanIP><lanMask/>"
                       "<lanGW/><lanDNS1/><lanDNS2/>") +
             "|" +
             mobile("1", "<usuario>tim</usuario><senha>tim</senha><phone>*99#</phone>"
                         "<APN>tim.br</APN>") +
             "||"},
        {"one carrier value blank", with(withPreset(startState(), "VIVO"), {{"phone", "  "}}),
         ethernet("0") + "|||"},
        {"the mobile network with a fixed address and a configured proxy",
         with(withPreset(startState(), "OI"), {{"rede-movel", "IPFIX"},
                                               {"ip-movel", " 010.000.000.002 "},
                                               {"proxy-movel", "configuracao"},
                                               {"proxy-porta-movel", " 8080"}}),
         ethernet("0") + "|" +
             document("<tipoInter>GPR1</tipoInter><tipoLan>IPFIX</tipoLan>"
                      "<lanIP>010.000.000.002</lanIP><lanMask/><lanGW/><lanDNS1/><lanDNS2/>"
                      "<proxy>1</proxy><proxy_ip/><proxy_porta>8080</proxy_porta><proxy_user/>"
                      "<proxy_senha/><prioridade>1</prioridade><usuario>oi</usuario>"
                      "<senha>oi</senha><phone>*99#</phone><APN>gprs.oi.com.br</APN>") +
             "||"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sentConfiguration(page, c.inputs), c.expected) << c.name;
}

TEST(ConfigurarInterfaceMfeText, KeepsExactlyThreeSeparatorsWhateverTheValues) {
    const auto inputs = with(withPreset(startState(), "CLARO"), {{"senha-movel", "a|b"},
                                                                 {"proxy", "configuracao"},
                                                                 {"proxy-senha", "|x|"},
                                                                 {"proxy-usuario", "ç&"}});
    const std::string text = sentConfiguration(page, inputs);
    EXPECT_EQ(std::count(text.begin(), text.end(), '|'), 3) << text;
    EXPECT_NE(text.find("<senha>a&#124;b</senha>"), std::string::npos) << text;
    EXPECT_NE(text.find("<proxy_user>\xC3\xA7&amp;</proxy_user>"), std::string::npos) << text;
}

TEST(ConfigurarInterfaceMfeText, CommandLineCarrierIsThePresetWithGivenValuesReplaced) {
    EXPECT_EQ(sentConfiguration(page, inputsOf({{"operadora", "vivo"}})),
              sentConfiguration(page, withPreset({}, "VIVO")));
    const std::string text =
        sentConfiguration(page, inputsOf({{"operadora", "TIM"}, {"apn", "timbrasil.br"}}));
    EXPECT_NE(text.find("<usuario>tim</usuario>"), std::string::npos) << text;
    EXPECT_NE(text.find("<APN>timbrasil.br</APN>"), std::string::npos) << text;
    for (const auto& [key, value] : {std::pair<const char*, const char*>{"operadora", "NEXTEL"},
                                     {"prioridade", "wifi"},
                                     {"rede-movel", "PPPoE"}})
        EXPECT_THROW(network_test::prepared(page, inputsOf({{key, value}})), std::invalid_argument)
            << key;
}

TEST(ConfigurarInterfaceMfeAnalysis, ChecksBothNetworksInOrder) {
    const std::string format = " não atende ao formato \"nnn.nnn.nnn.nnn\"";
    const std::string range =
        " não atende a rfc1918 (010.xxx.xxx.xxx, 172.xxx.xxx.xxx, 192.168.xxx.xxx)";
    const std::string eth = " da rede ETHERNET";
    const std::string gprs = " da rede 3G/GPRS";
    const struct {
        const char* name;
        core::Inputs inputs;
        core::Lines expected;
    } cases[] = {
        {"start state", startState(), {}},
        {"carrier data is not looked at",
         with(startState(), {{"usuario-movel", "x"}, {"apn", "?"}}),
         {}},
        {"short code",
         with(startState(), {{"codigo", "1234567"}}),
         {"Código de ativação deve ter entre 8 e 32 caracteres"}},
        {"both networks fixed, both proxies configured",
         with(startState(), {{"tipo-lan", "IP FIXO"},
                             {"ip", "011.000.000.001"},
                             {"mascara", "255.255.255.000"},
                             {"gateway", "192.168.001.001"},
                             {"dns2", "8.8.4.4"},
                             {"rede-movel", "IPFIX"},
                             {"ip-movel", "010.000.000.002"},
                             {"mascara-movel", "255.255.255.0"},
                             {"gateway-movel", "010.000.000.001"},
                             {"dns1-movel", "x"},
                             {"proxy", "configuracao"},
                             {"proxy-ip", "010.000.000.003"},
                             {"proxy-porta", "0"},
                             {"proxy-movel", "configuracao"},
                             {"proxy-ip-movel", "10.0.0.3"},
                             {"proxy-porta-movel", "3128"}}),
         {"IP" + eth + range, "DNS Secundário" + eth + format, "Mascara de Rede" + gprs + format,
          "DNS Primário" + gprs + format, "Porta do Proxy" + eth + " não é válida",
          "IP do Proxy" + gprs + format}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(network_test::bound(page, c.inputs).analyse(), c.expected) << c.name;
}

} // namespace
