#include "network/network_settings.h"

#include "network/address_checks.h"

#include <charconv>

namespace network {
namespace {

constexpr std::array<std::string_view, 3> proxyWords = {"nenhum", "configuracao", "transparente"};

constexpr std::string_view addressElements[] = {"lanIP", "lanMask", "lanGW", "lanDNS1", "lanDNS2"};
constexpr std::string_view proxyElements[] = {"proxy_ip", "proxy_porta", "proxy_user",
                                              "proxy_senha"};

constexpr std::string_view formatFault = " não atende ao formato \"nnn.nnn.nnn.nnn\"";
constexpr std::string_view rangeFault =
    " não atende a rfc1918 (010.xxx.xxx.xxx, 172.xxx.xxx.xxx, 192.168.xxx.xxx)";

void add(core::Lines& findings, std::string_view subject, std::string_view network,
         std::string_view fault) {
    findings.push_back(std::string(subject) + std::string(network) + std::string(fault));
}

// The port as a whole number (an optional sign, then digits, within an int); nullopt otherwise.
std::optional<int> wholeNumber(std::string_view text) {
    if (text.starts_with('+'))
        text.remove_prefix(1);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace

int addressingItem(std::string_view text) {
    if (text == "DHCP")
        return dhcpItem;
    if (text == "IP FIXO" || text == "IPFIX")
        return fixedAddressItem;
    return -1;
}

std::optional<int> proxyItemNamed(std::string_view word) {
    if (word.empty())
        return noProxyItem;
    for (std::size_t item = 0; item < proxyWords.size(); ++item)
        if (word == proxyWords[item])
            return static_cast<int>(item);
    return std::nullopt;
}

std::string_view proxyWord(int item) {
    return proxyWords.at(static_cast<std::size_t>(item));
}

NetworkSettings readNetwork(const core::Inputs& inputs, const NetworkFields& fields,
                            core::Lines& problems) {
    NetworkSettings network;
    const std::string_view key = fields.addressing->key;
    network.addressing = inputs.given(key) ? inputs.text(key) : "DHCP";
    network.addressingChoice =
        inputs.chosen(key).value_or(network::addressingItem(network.addressing));
    for (std::size_t i = 0; i < network.addresses.size(); ++i)
        network.addresses[i] = inputs.text(fields.addresses[i]->key);
    const std::string& word = inputs.text(fields.proxy->key);
    if (const auto item = proxyItemNamed(word))
        network.proxyItem = *item;
    else
        problems.push_back(std::string(fields.proxy->option) + " \"" + word +
                           "\" não é nenhum, configuracao nem transparente");
    for (std::size_t i = 0; i < network.proxy.size(); ++i)
        network.proxy[i] = inputs.text(fields.proxyDetails[i]->key);
    return network;
}

void appendLan(std::vector<ConfigElement>& elements, const NetworkSettings& network) {
    elements.push_back({"tipoLan", network.addressing == "IP FIXO" ? "IPFIX" : network.addressing});
    if (network.addressingItem() == fixedAddressItem)
        appendAddresses(elements, network.addresses);
    appendProxy(elements, network.proxyItem, network.proxy);
}

void appendAddresses(std::vector<ConfigElement>& elements,
                     const std::array<std::string, 5>& addresses) {
    for (std::size_t i = 0; i < addresses.size(); ++i)
        elements.push_back({addressElements[i], addresses[i]});
}

void appendProxy(std::vector<ConfigElement>& elements, int item,
                 const std::array<std::string, 4>& details) {
    elements.push_back({"proxy", std::to_string(item)});
    if (item == configuredProxyItem)
        for (std::size_t i = 0; i < details.size(); ++i)
            elements.push_back({proxyElements[i], details[i]});
}

void checkAddresses(const std::array<std::string, 5>& a, std::string_view network,
                    core::Lines& findings) {
    const auto& [ip, mask, gateway, dns1, dns2] = a;
    if (TesteIPs(ip) != 0)
        add(findings, "IP", network, formatFault);
    if (!rfc1918(ip))
        add(findings, "IP", network, rangeFault);
    if (TesteIPs(mask) != 0)
        add(findings, "Mascara de Rede", network, formatFault);
    if (TesteIPs(gateway) != 0)
        add(findings, "Gateway", network, formatFault);
    if (!rfc1918(gateway))
        add(findings, "Gateway", network, rangeFault);
    if (!dns1.empty() && TesteIPs(dns1) != 0)
        add(findings, "DNS Primário", network, formatFault);
    if (!dns2.empty() && TesteIPs(dns2) != 0)
        add(findings, "DNS Secundário", network, formatFault);
}

void checkProxy(const std::array<std::string, 4>& details, std::string_view network,
                core::Lines& findings) {
    if (TesteIPs(details[0]) != 0)
        add(findings, "IP do Proxy", network, formatFault);
    if (const auto port = wholeNumber(details[1]); port && (*port == 0 || *port > 99999))
        add(findings, "Porta do Proxy", network, " não é válida");
}

} // namespace network
