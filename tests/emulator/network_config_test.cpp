// The network configuration documents the module accepts or refuses, and the escaped form in
// which the extended status returns a stored one.

#include "emulator/module/network.h"
#include "emulator/sale/xml.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace emulator {
namespace {

std::string config(const std::string& elements) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?><config>" + elements + "</config>";
}

const std::string dhcp =
    config("<tipoInter>ETHE</tipoInter><tipoLan>DHCP</tipoLan><proxy>0</proxy>");

TEST(NetworkConfig, AcceptsWhatTheWorkbenchBuildsAndRefusesWhatIsOutOfPattern) {
    const std::string fixed = "<tipoInter>ETHE</tipoInter><tipoLan>IPFIX</tipoLan>"
                              "<lanIP>192.168.001.010</lanIP><lanMask>255.255.255.000</lanMask>"
                              "<lanGW>192.168.001.001</lanGW>";
    const struct {
        std::string document;
        bool accepted;
    } cases[] = {
        {dhcp, true},
        {config(fixed + "<lanDNS1></lanDNS1><lanDNS2></lanDNS2><proxy>0</proxy>"), true},
        {config("<tipoInter>ETHE</tipoInter><tipoLan>DHCP</tipoLan><proxy>1</proxy>"
                "<proxy_ip>010.000.000.001</proxy_ip><proxy_porta>3128</proxy_porta>"
                "<proxy_user>u</proxy_user><proxy_senha>s&amp;p</proxy_senha>"),
         true},
        {config("<tipoInter>ETHE</tipoInter><tipoLan>IPFIX</tipoLan><lanIP>192.168.1.10</lanIP>"
                "<proxy>0</proxy>"),
         false}, // no mask nor gateway
        {config("<tipoInter>ETHE</tipoInter><tipoLan>IPFIX</tipoLan><lanIP>192.168.1.10</lanIP>"
                "<lanMask>255.0.255.0</lanMask><lanGW>192.168.1.1</lanGW><proxy>0</proxy>"),
         false}, // not a mask
        {config("<tipoInter>ETHE</tipoInter><tipoLan>IPFIX</tipoLan><lanIP>192.168.1.10</lanIP>"
                "<lanMask>255.255.255.0</lanMask><lanGW>10.0.0.1</lanGW><proxy>0</proxy>"),
         false}, // gateway outside the network
        {config(fixed + "<lanDNS1>8.8.8</lanDNS1><proxy>0</proxy>"), false},
        {config("<tipoInter>ETHE</tipoInter><tipoLan>DHCP</tipoLan><proxy>1</proxy>"
                "<proxy_ip>010.000.000.001</proxy_ip><proxy_porta>70000</proxy_porta>"),
         false},
        {config("<tipoInter>ETHERNET</tipoInter><tipoLan>DHCP</tipoLan><proxy>0</proxy>"), false},
        {config("<tipoInter>ETHE</tipoInter><tipoLan>DHCP</tipoLan><proxy>0</proxy><x>1</x>"),
         false},
        {config("<tipoInter>GPR1</tipoInter><tipoLan>DHCP</tipoLan><proxy>0</proxy>"), false},
        {"<rede/>", false},
        {"<config><tipoInter>ETHE", false},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_EQ(readNetworkConfig(c.document, error).has_value(), c.accepted)
            << c.document << " → " << error;
        EXPECT_EQ(error.empty(), c.accepted) << c.document;
    }
}

// Element names as clients write them, compared without regard to case, and the LAN type in
// any case, kept as sent (the status reports it so).
TEST(NetworkConfig, TakesNamesAndLanTypesInAnyCase) {
    const struct {
        std::string elements;
        const char* lanType; // as stored; nullptr when refused
    } cases[] = {
        {"<tipoInter>WIFI</tipoInter><tipoLan>DHCP</tipoLan><SSID>loja</SSID><seg>WPA2</seg>"
         "<codigo>x</codigo><proxy>0</proxy>",
         "DHCP"},
        {"<tipoInter>WIFI</tipoInter><tipoLan>DHCP</tipoLan><ssid>loja</ssid><proxy>0</proxy>",
         "DHCP"},
        {"<TIPOINTER>WIFI</TIPOINTER><TipoLan>dhcp</TipoLan><Ssid>loja</Ssid><PROXY>0</PROXY>",
         "dhcp"},
        {"<tipoInter>WIFI</tipoInter><tipoLan>DHCP</tipoLan><proxy>0</proxy>", nullptr},
        {"<tipoInter>WIFI</tipoInter><tipoLan>DHCP</tipoLan><ssid>a</ssid><SSID>b</SSID>"
         "<proxy>0</proxy>",
         nullptr}, // the same element twice
        {"<tipoInter>ETHE</tipoInter><tipoLan>PPPOE</tipoLan><usuario>u</usuario>"
         "<senha>s</senha><proxy>0</proxy>",
         "PPPOE"},
        {"<tipoInter>ETHE</tipoInter><tipoLan>PPPoE</tipoLan><usuario>u</usuario>"
         "<senha>s</senha><proxy>0</proxy>",
         "PPPoE"},
        {"<tipoInter>ETHE</tipoInter><tipoLan>pppoe</tipoLan><proxy>0</proxy>", nullptr},
        {"<tipoInter>ETHE</tipoInter><tipoLan>ipfix</tipoLan><lanIP>10.0.0.2</lanIP>"
         "<lanMask>255.0.0.0</lanMask><lanGW>10.0.0.1</lanGW><proxy>0</proxy>",
         "ipfix"},
    };
    for (const auto& c : cases) {
        std::string error;
        const auto stored = readNetworkConfig(config(c.elements), error);
        ASSERT_EQ(stored.has_value(), c.lanType != nullptr) << c.elements << " → " << error;
        if (stored) {
            EXPECT_EQ(stored->value("tipoLan"), c.lanType) << c.elements;
        }
    }
}

TEST(NetworkConfig, ExtendedTextHasFourSlots) {
    const std::string mobile =
        config("<tipoInter>GPR1</tipoInter><tipoLan>DHCP</tipoLan><proxy>0</proxy>"
               "<prioridade>1</prioridade><usuario>tim</usuario><senha>tim</senha>"
               "<phone>*99#</phone><APN>timbrasil.br</APN>");
    const struct {
        std::string text;
        bool accepted;
    } cases[] = {
        {dhcp + "|||", true},
        {dhcp + "|" + mobile + "||", true},
        {"||" + mobile + "|", true},
        {dhcp + "||", false},
        {dhcp + "||||", false},
        {"|||", false},
        {dhcp + "|" + dhcp + "||", false}, // the same interface twice
    };
    for (const auto& c : cases) {
        std::string error;
        const auto slots = readNetworkSlots(c.text, error);
        EXPECT_EQ(slots.has_value(), c.accepted) << c.text << " → " << error;
    }
    std::string error;
    const auto slots = readNetworkSlots("||" + mobile + "|", error);
    ASSERT_TRUE(slots);
    EXPECT_TRUE((*slots)[0].fields.empty());
    EXPECT_EQ((*slots)[2].value("APN"), "timbrasil.br");
}

// What the extended status report does to a configuration field before laying it out: a
// backslash-quote pair becomes a quote; any other backslash goes with the character after it.
std::string withoutEscapes(const std::string& text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\')
            plain += text[i];
        else if (i + 1 < text.size() && text[++i] == '"')
            plain += '"';
    }
    return plain;
}

TEST(NetworkConfig, EscapedFormReadsBackAsTheSameConfigurationInOneField) {
    NetworkConfig stored;
    stored.fields = {{"tipoInter", "ETHE"},
                     {"tipoLan", "DHCP"},
                     {"proxy", "1"},
                     {"proxy_user", "a\"b"},
                     {"proxy_senha", "x|y\\z&<>"}};
    const std::string escaped = escapedConfig(stored);
    EXPECT_EQ(escaped.find('|'), std::string::npos);
    EXPECT_EQ(escaped.find('\n'), std::string::npos);

    const ParsedXml parsed = parseUntrusted(withoutEscapes(escaped), 10000);
    ASSERT_TRUE(parsed.doc) << parsed.error;
    NetworkConfig read;
    for (const xmlNode* element : childElements(xmlDocGetRootElement(parsed.doc.get())))
        read.fields.emplace_back(std::string(nameOf(element)), textOf(element));
    EXPECT_EQ(read.fields, stored.fields);
}

} // namespace
} // namespace emulator
