#pragma once
// The controls of one network on a network page: the addressing combo with its five address
// edits, the proxy combo with its four detail edits, and the enabling rules between them.

#include "core/operation_definition.h"
#include "network/network_settings.h"

#include <array>

class QComboBox;
class QLineEdit;

namespace network {

struct NetworkControlNames {
    const char* addressing;
    std::array<const char*, 5> addresses;
    const char* proxy;
    std::array<const char*, 4> proxyDetails;
};

struct NetworkControls {
    QComboBox* addressing = nullptr; // items "DHCP", "IP FIXO"
    std::array<QLineEdit*, 5> addresses{};
    QComboBox* proxy = nullptr; // items "NENHUM", "COM CONFIGURAÇÃO", "TRANSPARENTE"; choose-only
    std::array<QLineEdit*, 4> proxyDetails{};

    // The item the addressing combo shows: the one whose caption its text is; -1 for other typed
    // text (even "IPFIX", the element's value, chooses no item).
    int addressingChoice() const;
    // The address edits follow the addressing item: disabled for "DHCP", enabled for "IP FIXO",
    // left as they are for typed text. Their texts stay.
    void followAddressing();
    // The proxy edits are enabled for "COM CONFIGURAÇÃO" only. Their texts stay.
    void followProxy();
    // The controls' values under the fields' keys, as typed.
    void copyInto(core::Inputs& inputs, const NetworkFields& fields) const;
};

// The controls, named, each edit enabled; the combos on their first items.
NetworkControls makeNetworkControls(const NetworkControlNames& names);

QLineEdit* namedEdit(const char* name);

// The UTF-8 text of an edit.
std::string textOf(const QLineEdit* edit);

} // namespace network
