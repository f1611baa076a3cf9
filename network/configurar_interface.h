#pragma once
// ConfigurarInterfaceDeRede: the SAT's network interface from a form, as one configuration
// document.

#include "core/activation_code.h"
#include "core/operation_definition.h"
#include "network/network_fields.h"

namespace network {

inline constexpr core::InputField tipoInterField{
    "tipo-inter", "--tipo-inter", "TIPO",
    "tipo de rede: ETHERNET (padrão) ou outro texto, escrito como está em tipoInter"};

// clang-format off
inline constexpr core::InputField configurarInterfaceFields[] = {
    core::codigoField, tipoInterField, tipoLanField,
    ipField, mascaraField, gatewayField, dns1Field, dns2Field,
    proxyField, proxyIpField, proxyPortaField, proxyUsuarioField, proxySenhaField,
    xmlField};
// clang-format on

// Page 1: the address checks; the call with the code as typed and the configuration document
// (tipoInter, tipoLan, the five addresses with a fixed address, proxy, and the proxy details
// of a configured proxy); or the prepared document of the xml field, sent unchanged.
core::OperationLogic bindConfigurarInterface(const core::Operation& operation,
                                             const core::Inputs& inputs,
                                             const core::OperationContext& context);

} // namespace network
