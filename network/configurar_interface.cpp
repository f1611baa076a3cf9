#include "network/configurar_interface.h"

#include "network/config_document.h"
#include "network/configuration_call.h"

namespace network {
namespace {

struct InterfaceForm {
    std::string codigo;    // as typed: sent and counted with its blanks
    std::string tipoInter; // the "Tipo de Rede:" combo's text
    NetworkSettings lan;
    core::Lines problems; // option values that name no item
};

InterfaceForm readForm(const core::Inputs& inputs) {
    InterfaceForm form;
    form.codigo = inputs.text(core::codigoField.key);
    // The combo offers one item; an option left out stands for it. An emptied combo sends "".
    form.tipoInter =
        inputs.given(tipoInterField.key) ? inputs.text(tipoInterField.key) : "ETHERNET";
    form.lan = readNetwork(inputs, ethernetFields, form.problems);
    return form;
}

std::string documentText(const InterfaceForm& form) {
    std::vector<ConfigElement> elements;
    elements.push_back({"tipoInter", form.tipoInter == "ETHERNET" ? "ETHE" : form.tipoInter});
    appendLan(elements, form.lan);
    return configurationText(elements);
}

core::Lines analyse(const InterfaceForm& form) {
    core::Lines findings = core::checkActivationCode(form.codigo);
    findings.insert(findings.end(), form.problems.begin(), form.problems.end());
    if (form.lan.addressingItem() == fixedAddressItem)
        checkAddresses(form.lan.addresses, "", findings);
    if (form.lan.proxyItem == configuredProxyItem)
        checkProxy(form.lan.proxy, "", findings);
    return findings;
}

} // namespace

core::OperationLogic bindConfigurarInterface(const core::Operation& operation,
                                             const core::Inputs& inputs,
                                             const core::OperationContext&) {
    return bindConfiguration(operation, inputs, readForm, analyse, documentText);
}

} // namespace network
