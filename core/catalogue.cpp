#include "core/catalogue.h"

#include <algorithm>

namespace core {
namespace {

using namespace std::chrono_literals;
using P = Param;
using IP = IntegradorParam;
constexpr auto Int = ParamType::Int;
constexpr auto Text = ParamType::Text;

constexpr P pSessao{"numeroSessao", Int};
constexpr P pCodigo{"codigoDeAtivacao", Text};

constexpr IP iSessao{"numeroSessao", "int", 0, {}, false, "numeroSessao"};
constexpr IP iCodigo{"codigoDeAtivacao", "string", 1, {}, false, "codigoDeAtivacao"};
constexpr IP iNrDoc{"nrDocumento", "string", -1, "01", false, "nrDoc"};

constexpr P consultarSat[] = {pSessao};
constexpr IP consultarSatI[] = {iSessao};

constexpr P configurar[] = {pSessao, pCodigo, {"dadosConfiguracao", Text}};
constexpr IP configurarI[] = {
    iSessao, iCodigo, {"dadosConfiguracao", "string", 2, {}, true, "dadosConfiguracao"}, iNrDoc};

constexpr P ativar[] = {pSessao, {"subComando", Int}, pCodigo, {"CNPJ", Text}, {"cUF", Int}};
constexpr IP ativarI[] = {iSessao,
                          {"subComando", "string", 1, {}, false, "subComando"},
                          {"codigoDeAtivacao", "string", 2, {}, false, "codigoDeAtivacao"},
                          {"CNPJ", "string", 3, {}, false, "CNPJ"},
                          {"cUF", "int", 4, {}, false, "cUF"}};

constexpr P associar[] = {pSessao, pCodigo, {"CNPJvalue", Text}, {"assinaturaCNPJs", Text}};
constexpr IP associarI[] = {iSessao,
                            iCodigo,
                            {"cnpjValue", "string", 2, {}, false, "CNPJvalue"},
                            {"assinaturaCNPJs", "string", 3, {}, false, "assinaturaCNPJs"}};

constexpr P venda[] = {pSessao, pCodigo, {"dadosVenda", Text}};
constexpr IP testeI[] = {iSessao, iCodigo, {"dadosVenda", "string", 2, {}, true, "dadosVenda"}};
constexpr IP vendaI[] = {iSessao,
                         iCodigo,
                         {"dadosVenda", "string", 2, {}, true, "dadosVenda"},
                         {"nrDocumento", "string", -1, "01", false, "NrDoc"}};

constexpr P codigoSo[] = {pSessao, pCodigo};
constexpr IP codigoSoI[] = {iSessao, iCodigo};

constexpr P trocar[] = {
    pSessao, pCodigo, {"opcao", Int}, {"novoCodigo", Text}, {"confNovoCodigo", Text}};
constexpr IP trocarI[] = {iSessao,
                          iCodigo,
                          {"opcao", "int", 2, {}, false, "opcao"},
                          {"novoCodigo", "string", 3, {}, false, "novoCodigo"},
                          {"confNovoCodigo", "string", 4, {}, false, "confNovoCodigo"}};

constexpr P cancelar[] = {pSessao, pCodigo, {"chave", Text}, {"dadosCancelamento", Text}};
constexpr IP cancelarI[] = {iSessao,
                            iCodigo,
                            {"chave", "string", 2, {}, false, "chave"},
                            {"dadosCancelamento", "string", 3, {}, true, "dadosCancelamento"}};

constexpr P numSessao[] = {pSessao, pCodigo, {"cNumeroDeSessao", Int}};
constexpr IP numSessaoI[] = {
    iSessao, iCodigo, {"cNumeroDeSessao", "int", 2, {}, false, "cNumeroDeSessao"}};

// clang-format off
constexpr Operation operations[] = {
    {0,  "ConsultarSAT", "BtnConsultarSAT", "ConsultarMFe", "ConsultarMFe",
         14s, "08098", false, "", false, consultarSat, consultarSatI},
    {1,  "ConfigurarInterfaceDeRede", "BtnConfInterface", "ConfigurarInterfaceDeRede",
         "ConfigurarInterfaceDeRede", 50s, "12098", false, "", false, configurar, configurarI},
    {2,  "AtivarSAT", "BtnAtivarSAT", "AtivarSAT", "AtivarSAT",
         5min + 30s, "04098", false, "", false, ativar, ativarI},
    {3,  "AssociarAssinatura", "BtnAssocAssin", "AssociarAssinatura", "AssociarAssinatura",
         30min + 30s, "13098", false, "", false, associar, associarI},
    {4,  "TesteFimAFim", "BtnFimAFim", "TesteFimAFim", "TesteFimaFim",
         50s, "09098", false, "09000", false, venda, testeI},
    {5,  "ConsultarStatusOperacional", "BtnConsultarStatus", "ConsultarStatusOperacional",
         "ConsultarStatusOperacional", 34s, "10098", false, "10000", true, codigoSo, codigoSoI},
    {6,  "TrocarCodigoDeAtivacao", "BtnTrocarCodigo", "TrocarCodigoDeAtivacao",
         "TrocarCodigoAtivacao", 50s, "18098", false, "", false, trocar, trocarI},
    {7,  "ExtrairLogs", "BtnExtrairLogs", "ExtrairLogs", "ExtrairLogs",
         50s, "15098", false, "15000", false, codigoSo, codigoSoI},
    {8,  "EnviarDadosVenda", "BtnEnviarDadosVenda", "EnviarDadosVenda", "EnviarDadosVenda",
         40s, "06098", true, "06000", false, venda, vendaI},
    {9,  "CancelarUltimaVenda", "BtnCancelarUltVenda", "CancelarUltimaVenda",
         "CancelarUltimaVenda", 33s, "07098", true, "07000", false, cancelar, cancelarI},
    {10, "ConsultarNumeroSessao", "BtnConsNumSessao", "ConsultarNumeroSessao",
         "ConsultarNumeroSessao", 50s, "11098", false, "", false, numSessao, numSessaoI},
    {11, "BloquearSAT", "BtnBloquearSAT", "BloquearSAT", "BloquearSAT",
         5min + 30s, "16098", false, "", false, codigoSo, codigoSoI},
    {12, "DesbloquearSAT", "BtnDesbloquearSAT", "DesbloquearSAT", "DesbloquearSAT",
         50s, "17098", false, "", false, codigoSo, codigoSoI},
    {13, "AtualizarSoftwareSAT", "BtnAtualizarSoft", "AtualizarSoftwareSAT",
         "AtualizarSoftwareSAT", 30min + 30s, "14098", false, "", false, codigoSo, codigoSoI},
    {15, "ConsultarStatusOperacionalMFE", "BtnConsultarStatusMFE",
         "ConsultarStatusOperacionalMFE", "ConsultarStatusOperacionalMFE",
         34s, "10098", false, "10000", true, codigoSo, codigoSoI},
    {16, "ConfigurarInterfaceDeRedeMFE", "BtnConfInterfaceMFE", "ConfigurarInterfaceDeRedeMFE",
         "ConfigurarInterfaceDeRedeMFE", 50s, "12098", false, "", false, configurar, configurarI},
};
// clang-format on

constexpr int panelPages[] = {0, 1, 16, 2, 3, 4, 5, 15, 6, 7, 8, 9, 10, 11, 12, 13};

constexpr std::string_view entryPoints[] = {"EnviarDadosVenda",
                                            "CancelarUltimaVenda",
                                            "ConsultarSAT",
                                            "TesteFimAFim",
                                            "ConsultarStatusOperacional",
                                            "ConsultarNumeroSessao",
                                            "AssociarAssinatura",
                                            "AtualizarSoftwareSAT",
                                            "ExtrairLogs",
                                            "BloquearSAT",
                                            "DesbloquearSAT",
                                            "TrocarCodigoDeAtivacao",
                                            "ConfigurarInterfaceDeRede",
                                            "AtivarSAT",
                                            "ConfigurarInterfaceDeRedeMFE",
                                            "ConsultarStatusOperacionalMFE"};

template <typename Pred> const Operation* find(Pred pred) {
    auto it = std::find_if(std::begin(operations), std::end(operations), pred);
    return it == std::end(operations) ? nullptr : &*it;
}

std::array<const Operation*, 16> makePanel() {
    std::array<const Operation*, 16> panel{};
    for (std::size_t i = 0; i < panel.size(); ++i)
        panel[i] = operationByPage(panelPages[i]);
    return panel;
}

} // namespace

std::span<const Operation> catalogue() {
    return operations;
}

std::span<const Operation* const> panelOrder() {
    static const auto panel = makePanel();
    return panel;
}

std::span<const std::string_view> entryPointOrder() {
    return entryPoints;
}

const Operation* operationByPage(int page) {
    return find([page](const Operation& op) { return op.page == page; });
}

const Operation* operationByName(std::string_view name) {
    return find([name](const Operation& op) { return op.name == name; });
}

const Operation* operationByIntegradorMethod(std::string_view method) {
    return find([method](const Operation& op) { return op.integradorMethod == method; });
}

} // namespace core
