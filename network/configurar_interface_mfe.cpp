#include "network/configurar_interface_mfe.h"

#include "core/text.h"
#include "network/config_document.h"
#include "network/configuration_call.h"

#include <algorithm>
#include <array>

namespace network {
namespace {

// What follows the subject of each finding on a network.
constexpr std::string_view ofEthernet = " da rede ETHERNET";
constexpr std::string_view ofMobile = " da rede 3G/GPRS";

struct MfeForm {
    std::string codigo; // as typed: sent and counted with its blanks
    NetworkSettings ethernet;
    NetworkSettings mobile;
    bool mobileFirst = false;
    std::array<std::string, 4> carrier; // usuario, senha, phone, APN as typed
    core::Lines problems;               // option values that name no item

    bool hasMobile() const {
        return std::all_of(carrier.begin(), carrier.end(),
                           [](const std::string& value) { return !core::trimmed(value).empty(); });
    }
};

std::string upperCase(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// The carrier's values: a preset's, each replaced by the value given for it.
void readCarrier(const core::Inputs& inputs, MfeForm& form) {
    if (const std::string& name = inputs.text(operadoraField.key); !name.empty()) {
        if (const CarrierPreset* preset = carrierPreset(upperCase(name)))
            form.carrier = {std::string(preset->usuario), std::string(preset->senha),
                            std::string(preset->phone), std::string(preset->apn)};
        else
            form.problems.push_back("--operadora \"" + name + "\" não é VIVO, CLARO, TIM nem OI");
    }
    for (std::size_t i = 0; i < form.carrier.size(); ++i)
        if (const std::string& given = inputs.text(carrierFields[i]->key); !given.empty())
            form.carrier[i] = given;
}

MfeForm readForm(const core::Inputs& inputs) {
    MfeForm form;
    form.codigo = inputs.text(core::codigoField.key);
    form.ethernet = readNetwork(inputs, ethernetFields, form.problems);
    form.mobile = readNetwork(inputs, mobileFields, form.problems);
    if (form.mobile.addressingItem() < 0)
        form.problems.push_back("--rede-movel \"" + form.mobile.addressing +
                                "\" não é DHCP nem IPFIX");
    const std::string& priority = inputs.text(prioridadeField.key);
    form.mobileFirst = priority == "movel";
    if (!priority.empty() && priority != "ethernet" && !form.mobileFirst)
        form.problems.push_back("--prioridade \"" + priority + "\" não é ethernet nem movel");
    readCarrier(inputs, form);
    return form;
}

std::string ethernetText(const MfeForm& form) {
    std::vector<ConfigElement> elements;
    elements.push_back({"tipoInter", "ETHE"});
    appendLan(elements, form.ethernet);
    elements.push_back({"prioridade", form.mobileFirst ? "1" : "0"});
    return configurationText(elements);
}

template <std::size_t N> std::array<std::string, N> trimmedAll(std::array<std::string, N> values) {
    for (std::string& value : values)
        value = core::trimmed(value);
    return values;
}

// Every value of the mobile document goes out without surrounding blanks.
std::string mobileText(const MfeForm& form) {
    const NetworkSettings& gprs = form.mobile;
    const bool fixed = gprs.addressingItem() != dhcpItem;
    std::vector<ConfigElement> elements;
    elements.push_back({"tipoInter", "GPR1"});
    elements.push_back({"tipoLan", fixed ? "IPFIX" : "DHCP"});
    if (fixed)
        appendAddresses(elements, trimmedAll(gprs.addresses));
    appendProxy(elements, gprs.proxyItem, trimmedAll(gprs.proxy));
    elements.push_back({"prioridade", form.mobileFirst ? "0" : "1"});
    const auto carrier = trimmedAll(form.carrier);
    const std::string_view names[] = {"usuario", "senha", "phone", "APN"};
    for (std::size_t i = 0; i < carrier.size(); ++i)
        elements.push_back({names[i], carrier[i]});
    return configurationText(elements);
}

// Four slots, always three separators; slots 3 and 4 stay empty.
std::string extendedText(const MfeForm& form) {
    if (form.hasMobile())
        return ethernetText(form) + "|" + mobileText(form) + "||";
    return ethernetText(form) + "|||";
}

core::Lines analyse(const MfeForm& form) {
    core::Lines findings = core::checkActivationCode(form.codigo);
    findings.insert(findings.end(), form.problems.begin(), form.problems.end());
    if (form.ethernet.addressingItem() == fixedAddressItem)
        checkAddresses(form.ethernet.addresses, ofEthernet, findings);
    if (form.mobile.addressingItem() == fixedAddressItem)
        checkAddresses(form.mobile.addresses, ofMobile, findings);
    if (form.ethernet.proxyItem == configuredProxyItem)
        checkProxy(form.ethernet.proxy, ofEthernet, findings);
    if (form.mobile.proxyItem == configuredProxyItem)
        checkProxy(form.mobile.proxy, ofMobile, findings);
    return findings;
}

} // namespace

const CarrierPreset* carrierPreset(std::string_view name) {
    const auto it = std::find_if(std::begin(carrierPresets), std::end(carrierPresets),
                                 [name](const CarrierPreset& p) { return p.name == name; });
    return it == std::end(carrierPresets) ? nullptr : &*it;
}

core::OperationLogic bindConfigurarInterfaceMfe(const core::Operation& operation,
                                                const core::Inputs& inputs,
                                                const core::OperationContext&) {
    return bindConfiguration(operation, inputs, readForm, analyse, extendedText);
}

} // namespace network
