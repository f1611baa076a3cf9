#pragma once
// ConfigurarInterfaceDeRedeMFE: the MF-e's two networks, wired ETHERNET and mobile 3G/GPRS, from
// a form, as the extended configuration text of four "|"-separated slots.

#include "core/activation_code.h"
#include "core/operation_definition.h"
#include "network/network_fields.h"

#include <string_view>

namespace network {

// A mobile carrier's published access data for mobile data.
struct CarrierPreset {
    std::string_view name;
    std::string_view usuario;
    std::string_view senha;
    std::string_view phone;
    std::string_view apn;
};

inline constexpr CarrierPreset carrierPresets[] = {
    {"VIVO", "vivo", "vivo", "*99#", "zap.vivo.com.br"},
    {"CLARO", "claro", "claro", "*99#", "claro.com.br"},
    {"TIM", "tim", "tim", "*99#", "tim.br"},
    {"OI", "oi", "oi", "*99#", "gprs.oi.com.br"},
};

// The preset of a carrier named in capitals; nullptr for any other name.
const CarrierPreset* carrierPreset(std::string_view name);

// clang-format off
inline constexpr core::InputField operadoraField{"operadora", "--operadora", "OPERADORA",
    "dados da operadora: VIVO, CLARO, TIM ou OI (as opções abaixo substituem cada valor)"};
inline constexpr core::InputField apnField{"apn", "--apn", "APN", "APN da operadora"};
inline constexpr core::InputField usuarioMovelField{"usuario-movel", "--usuario-movel",
    "USUARIO", "usuário da operadora"};
inline constexpr core::InputField senhaMovelField{"senha-movel", "--senha-movel", "SENHA",
    "senha da operadora"};
inline constexpr core::InputField phoneField{"phone", "--phone", "NUMERO",
    "número discado (Phone:), *99# nas operadoras; sem os quatro dados da operadora a rede "
    "3G/GPRS fica fora da configuração"};
inline constexpr core::InputField prioridadeField{"prioridade", "--prioridade", "REDE",
    "rede usada primeiro: ethernet (padrão) ou movel"};

// The carrier's four values in the order of the page's edits.
inline constexpr const core::InputField* carrierFields[] = {&usuarioMovelField, &senhaMovelField,
                                                            &phoneField, &apnField};

inline constexpr core::InputField configurarInterfaceMfeFields[] = {
    core::codigoField, tipoLanField,
    ipField, mascaraField, gatewayField, dns1Field, dns2Field,
    proxyField, proxyIpField, proxyPortaField, proxyUsuarioField, proxySenhaField,
    operadoraField, apnField, usuarioMovelField, senhaMovelField, phoneField,
    prioridadeField,
    redeMovelField, ipMovelField, mascaraMovelField, gatewayMovelField, dns1MovelField,
    dns2MovelField, proxyMovelField, proxyIpMovelField, proxyPortaMovelField,
    proxyUsuarioMovelField, proxySenhaMovelField,
    xmlField};
// clang-format on

// Page 16: the address checks of both networks; the call with the code as typed and the
// extended configuration text: the ETHERNET document, then, when the four carrier values are
// all given, "|" and the 3G/GPRS document followed by "||", otherwise "|||". Or the prepared
// text of the xml field, sent unchanged.
core::OperationLogic bindConfigurarInterfaceMfe(const core::Operation& operation,
                                                const core::Inputs& inputs,
                                                const core::OperationContext& context);

} // namespace network
