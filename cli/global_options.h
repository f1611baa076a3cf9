#pragma once
// The options every command takes.

#include "cli/command_line.h"

namespace cli::global {

inline constexpr Option dll{"--dll", "ARQUIVO", "chama o módulo pela biblioteca ARQUIVO"};
inline constexpr Option processoDll{
    "--processo-dll", "FORMA",
    "separado (padrão): a biblioteca roda num processo à parte; mesmo: no processo do tarvik"};
inline constexpr Option integrador{"--integrador", "PASTA",
                                   "chama o módulo pelo Integrador, com Input e Output em PASTA"};
inline constexpr Option espera{"--espera", "SEGUNDOS",
                               "espera pelo Integrador até SEGUNDOS, não o limite do método"};
inline constexpr Option layout{"--layout", "VERSAO", "layout dos XSD: 0.06, 0.07 (padrão) ou 0.08"};
inline constexpr Option json{"--json", "", "escreve um objeto JSON em vez do texto das caixas"};
inline constexpr Option analisar{"--analisar", "",
                                 "só faz a análise da página (\"Analisar\") e escreve o que achou"};
inline constexpr Option help{"--help", "", "mostra esta ajuda (ou a da operação)"};
inline constexpr Option version{"--version", "", "mostra a versão do programa"};

inline constexpr const Option* all[] = {&dll,  &processoDll, &integrador, &espera, &layout,
                                        &json, &analisar,    &help,       &version};

} // namespace cli::global
