#pragma once
// The fields of the network pages as the command line offers them: the ETHERNET network (both
// pages), the 3G/GPRS network (the MF-e page) and a prepared document sent instead of the form.

#include "core/operation_definition.h"
#include "network/network_settings.h"

namespace network {

using Kind = core::InputField::Kind;

// clang-format off
inline constexpr core::InputField tipoLanField{"tipo-lan", "--tipo-lan", "TIPO",
    "endereçamento: DHCP (padrão), IPFIX (\"IP FIXO\") ou outro texto, como PPPoE"};
inline constexpr core::InputField ipField{"ip", "--ip", "IP",
    "IP fixo, com os grupos em três dígitos: 192.168.001.010 (com IPFIX)"};
inline constexpr core::InputField mascaraField{"mascara", "--mascara", "MASCARA",
    "máscara de rede (com IPFIX)"};
inline constexpr core::InputField gatewayField{"gateway", "--gateway", "GATEWAY",
    "gateway (com IPFIX)"};
inline constexpr core::InputField dns1Field{"dns1", "--dns1", "DNS", "DNS primário (com IPFIX)"};
inline constexpr core::InputField dns2Field{"dns2", "--dns2", "DNS",
    "DNS secundário (com IPFIX)"};
inline constexpr core::InputField proxyField{"proxy", "--proxy", "PROXY",
    "nenhum (padrão), configuracao (\"COM CONFIGURAÇÃO\") ou transparente"};
inline constexpr core::InputField proxyIpField{"proxy-ip", "--proxy-ip", "IP",
    "IP do proxy (com --proxy configuracao)"};
inline constexpr core::InputField proxyPortaField{"proxy-porta", "--proxy-porta", "PORTA",
    "porta do proxy (com --proxy configuracao)"};
inline constexpr core::InputField proxyUsuarioField{"proxy-usuario", "--proxy-usuario",
    "USUARIO", "usuário do proxy (com --proxy configuracao)"};
inline constexpr core::InputField proxySenhaField{"proxy-senha", "--proxy-senha", "SENHA",
    "senha do proxy (com --proxy configuracao)"};

inline constexpr core::InputField redeMovelField{"rede-movel", "--rede-movel", "TIPO",
    "endereçamento da rede 3G/GPRS: DHCP (padrão) ou IPFIX"};
inline constexpr core::InputField ipMovelField{"ip-movel", "--ip-movel", "IP",
    "IP fixo da rede 3G/GPRS (com --rede-movel IPFIX)"};
inline constexpr core::InputField mascaraMovelField{"mascara-movel", "--mascara-movel",
    "MASCARA", "máscara da rede 3G/GPRS (com --rede-movel IPFIX)"};
inline constexpr core::InputField gatewayMovelField{"gateway-movel", "--gateway-movel",
    "GATEWAY", "gateway da rede 3G/GPRS (com --rede-movel IPFIX)"};
inline constexpr core::InputField dns1MovelField{"dns1-movel", "--dns1-movel", "DNS",
    "DNS primário da rede 3G/GPRS (com --rede-movel IPFIX)"};
inline constexpr core::InputField dns2MovelField{"dns2-movel", "--dns2-movel", "DNS",
    "DNS secundário da rede 3G/GPRS (com --rede-movel IPFIX)"};
inline constexpr core::InputField proxyMovelField{"proxy-movel", "--proxy-movel", "PROXY",
    "proxy da rede 3G/GPRS: nenhum (padrão), configuracao ou transparente"};
inline constexpr core::InputField proxyIpMovelField{"proxy-ip-movel", "--proxy-ip-movel", "IP",
    "IP do proxy da rede 3G/GPRS (com --proxy-movel configuracao)"};
inline constexpr core::InputField proxyPortaMovelField{"proxy-porta-movel",
    "--proxy-porta-movel", "PORTA", "porta do proxy da rede 3G/GPRS"};
inline constexpr core::InputField proxyUsuarioMovelField{"proxy-usuario-movel",
    "--proxy-usuario-movel", "USUARIO", "usuário do proxy da rede 3G/GPRS"};
inline constexpr core::InputField proxySenhaMovelField{"proxy-senha-movel",
    "--proxy-senha-movel", "SENHA", "senha do proxy da rede 3G/GPRS"};

inline constexpr core::InputField xmlField{"xml", "--xml", "ARQUIVO",
    "envia o conteúdo deste arquivo como dadosConfiguracao, em vez do formulário (sem análise)",
    Kind::FileContents};
// clang-format on

inline constexpr NetworkFields ethernetFields{
    &tipoLanField,
    {&ipField, &mascaraField, &gatewayField, &dns1Field, &dns2Field},
    &proxyField,
    {&proxyIpField, &proxyPortaField, &proxyUsuarioField, &proxySenhaField}};

inline constexpr NetworkFields mobileFields{
    &redeMovelField,
    {&ipMovelField, &mascaraMovelField, &gatewayMovelField, &dns1MovelField, &dns2MovelField},
    &proxyMovelField,
    {&proxyIpMovelField, &proxyPortaMovelField, &proxyUsuarioMovelField, &proxySenhaMovelField}};

} // namespace network
