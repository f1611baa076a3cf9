#pragma once
// One network's addressing and proxy as a form gives them, the elements they put in a
// configuration document, and the address checks made on them.

#include "core/call_text.h"
#include "core/operation_definition.h"
#include "network/config_document.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace network {

// The items of the addressing combo ("Interface:" / "Rede:") and of the proxy combo.
inline constexpr int dhcpItem = 0;
inline constexpr int fixedAddressItem = 1;
inline constexpr int noProxyItem = 0;
inline constexpr int configuredProxyItem = 1;
inline constexpr int transparentProxyItem = 2;

// The item an addressing option's text names: "DHCP" the first, "IP FIXO" (or the element value
// "IPFIX") the second; any other text, none (-1).
int addressingItem(std::string_view text);

// The proxy choice a word names, as the item of the proxy combo: "nenhum" (or nothing) 0,
// "configuracao" 1, "transparente" 2; nullopt for any other word.
std::optional<int> proxyItemNamed(std::string_view word);
// The word of a proxy combo item; throws std::out_of_range when no item is chosen.
std::string_view proxyWord(int item);

struct NetworkSettings {
    std::string addressing;               // the addressing combo's text as it stands
    int addressingChoice = dhcpItem;      // the item chosen; -1 for typed text that is none
    std::array<std::string, 5> addresses; // IP, mask, gateway, primary and secondary DNS
    int proxyItem = noProxyItem;
    std::array<std::string, 4> proxy; // proxy IP, port, user and password

    int addressingItem() const { return addressingChoice; }
};

// The fields of one network, in the order of NetworkSettings.
struct NetworkFields {
    const core::InputField* addressing;
    std::array<const core::InputField*, 5> addresses;
    const core::InputField* proxy;
    std::array<const core::InputField*, 4> proxyDetails;
};

// The network as the inputs give it: the addressing as a page's combo holds it and the item it
// chose; an addressing option left out stands for "DHCP", and one given names its item by its
// text. A proxy word that names no item is added to `problems`.
NetworkSettings readNetwork(const core::Inputs& inputs, const NetworkFields& fields,
                            core::Lines& problems);

// tipoLan with the addressing combo's text ("IP FIXO" written IPFIX), the addresses when its
// second item is chosen, and the proxy: the ETHERNET part of a configuration document.
void appendLan(std::vector<ConfigElement>& elements, const NetworkSettings& network);
// lanIP, lanMask, lanGW, lanDNS1 and lanDNS2 with the five addresses.
void appendAddresses(std::vector<ConfigElement>& elements,
                     const std::array<std::string, 5>& addresses);
// proxy with the item's number, then, for a configured proxy, proxy_ip, proxy_porta, proxy_user
// and proxy_senha.
void appendProxy(std::vector<ConfigElement>& elements, int item,
                 const std::array<std::string, 4>& details);

// The findings on the addresses of a network with a fixed address, in order; `network` follows
// the subject of each message ("" or " da rede ETHERNET").
void checkAddresses(const std::array<std::string, 5>& addresses, std::string_view network,
                    core::Lines& findings);
// The findings on a configured proxy: the IP's format, and a port that reads as a whole number
// and is 0 or above 99999 (a port that does not read as a number draws nothing).
void checkProxy(const std::array<std::string, 4>& details, std::string_view network,
                core::Lines& findings);

} // namespace network
