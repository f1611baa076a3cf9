#include "network/network_controls_page.h"

#include <QComboBox>
#include <QLineEdit>

namespace network {

QLineEdit* namedEdit(const char* name) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    return edit;
}

std::string textOf(const QLineEdit* edit) {
    return edit->text().toStdString();
}

NetworkControls makeNetworkControls(const NetworkControlNames& names) {
    NetworkControls c;
    c.addressing = new QComboBox;
    c.addressing->setObjectName(names.addressing);
    c.addressing->addItems({"DHCP", "IP FIXO"});
    for (std::size_t i = 0; i < c.addresses.size(); ++i)
        c.addresses[i] = namedEdit(names.addresses[i]);
    c.proxy = new QComboBox;
    c.proxy->setObjectName(names.proxy);
    // Choose-only: typed text would leave no item chosen, and no proxy item would be sent.
    c.proxy->addItems({"NENHUM", "COM CONFIGURAÇÃO", "TRANSPARENTE"});
    for (std::size_t i = 0; i < c.proxyDetails.size(); ++i)
        c.proxyDetails[i] = namedEdit(names.proxyDetails[i]);
    return c;
}

int NetworkControls::addressingChoice() const {
    return addressing->findText(addressing->currentText());
}

void NetworkControls::followAddressing() {
    const int item = addressingChoice();
    if (item < 0)
        return;
    for (QLineEdit* edit : addresses)
        edit->setEnabled(item == fixedAddressItem);
}

void NetworkControls::followProxy() {
    for (QLineEdit* edit : proxyDetails)
        edit->setEnabled(proxy->currentIndex() == configuredProxyItem);
}

void NetworkControls::copyInto(core::Inputs& inputs, const NetworkFields& fields) const {
    inputs.set(fields.addressing->key, addressing->currentText().toStdString());
    inputs.choose(fields.addressing->key, addressingChoice());
    for (std::size_t i = 0; i < addresses.size(); ++i)
        inputs.set(fields.addresses[i]->key, textOf(addresses[i]));
    inputs.set(fields.proxy->key, std::string(proxyWord(proxy->currentIndex())));
    for (std::size_t i = 0; i < proxyDetails.size(); ++i)
        inputs.set(fields.proxyDetails[i]->key, textOf(proxyDetails[i]));
}

} // namespace network
