#include "core/page_names.h"

namespace core {
namespace {

// clang-format off
constexpr PageNames names[] = {
    {0, "TabConsultarSat", "PCConsultarSAT",
     {"TSConsultarSAT_0", "TSConsultarSAT_1", "TSConsultarSAT_2", "TSConsultarSAT_3"},
     "REConsultarSAT", {" Header:   char * ConsultarSAT( int numeroSessao );", ""}},
    {1, "TabConfInterface", "PCConfInterface",
     {"TSConfInterface_0", "TSConfInterface_1", "TSConfInterface_2", "TSConfInterface_3"},
     "REConfInterface", {"Header:    char * ConfigurarInterfaceDeRede( int numeroSessao ,",
                         " char * codigoDeAtivacao , char * dadosConfiguracao );"}},
    {2, "TabAtivarSAT", "PCAtivarSAT",
     {"TSAtivarSAT_0", "TSAtivarSAT_1", "TSAtivarSAT_2", "TSAtivarSAT_3"},
     "REAtivarSAT", {"Header: char * AtivarSAT( int numeroSessao , int subComando ,",
                     "char * codigoDeAtivacao , char * CNPJ , int cUF );"}},
    {3, "TabAssocAss", "PCAssocAssin",
     {"TSAssocAssin_0", "TSAssocAssin_1", "TSAssocAssin_2", "TSAssocAssin_3"},
     "REAssocAssin", {"Header: char * AssociarAssinatura( int numeroSessao , char * codigoDeAtivacao ,",
                      "char * CNPJvalue , char * assinaturaCNPJs );"}},
    {4, "TabFimAFim", "PCFimAFim",
     {"TSFimAFim_0", "TSFimAFim_1", "TSFimAFim_2", "TSFimAFim_3"},
     "REFimAFim", {"Header: char * TesteFimAFim( int numeroSessao , char * codigoDeAtivacao ,",
                   "char * dadosVenda );"}},
    {5, "TabConsultarStatus", "PCConsultarStatus",
     {"TSConsultarStatus_0", "TSConsultarStatus_1", "TSConsultarStatus_2", "TSConsultarStatus_3"},
     "REConsultarStatus",
     {"Header: char * ConsultarStatusOperacional( int numeroSessao , char * codigoDeAtivacao );", ""}},
    {6, "TabTrocarCodigo", "PCTrocarCodigo",
     {"TSTrocarCodigo_0", "TSTrocarCodigo_1", "TSTrocarCodigo_2", "TSTrocarCodigo_3"},
     "RETrocarCodigo", {"Header: char * TrocarCodigoDeAtivacao( int numeroSessao , char * codigoDeAtivacao ,",
                        "int opcao , char * novoCodigo , char * confNovoCodigo );"}},
    {7, "TabExtrairLogs", "PCExtrairLogs",
     {"TSExtrairLogs_0", "TSExtrairLogs_1", "TSExtrairLogs_2", "TSExtrairLogs_3"},
     "REExtrairLogs", {"   Header: char * ExtrairLogs( int numeroSessao , char * codigoDeAtivacao );", ""}},
    {8, "TabEnviarDadosVenda", "PCEnviarDadosVenda",
     {"TSEnviarDadosVenda_0", "TSEnviarDadosVenda_1", "TSEnviarDadosVenda_2", "TSEnviarDadosVenda_3"},
     "REEnviarDadosVenda", {"Header: char * EnviarDadosVenda( int numeroSessao ,",
                            "char * codigoDeAtivacao , char * dadosVenda );"}},
    {9, "TabCancelarUltVenda", "PCCancelarUltVenda",
     {"TSCancelarUltVenda_0", "TSCancelarUltVenda_1", "TSCancelarUltVenda_2", "TSCancelarUltVenda_3"},
     "RECancelarUltVenda", {"Header: char * CancelarUltimaVenda( int numeroSessao ,",
                            "char * codigoDeAtivacao , char * chave , char * dadosCancelamento );"}},
    {10, "TabConsultarNumSessao", "PCConsultarNumSessao",
     {"TSConsultarNumSessao_0", "TSConsultarNumSessao_1", "TSConsultarNumSessao_2", "TTSConsultarNumSessao_3"},
     "REConsultarNumSessao", {"Header:  char * ConsultarNumeroSessao( int numeroSessao ,",
                              "char * codigoDeAtivacao , int cNumeroDeSessao );"}},
    {11, "TabBloquearSAT", "PCBloquearSAT",
     {"TSBloquearSAT_0", "TSBloquearSAT_1", "TSBloquearSAT_2", "TSBloquearSAT_3"},
     "REBloquearSAT", {" Header:  char * BloquearSAT( int numeroSessao , char * codigoDeAtivacao ); ", ""}},
    {12, "TabDesbloquearSAT", "PCDesbloquearSAT",
     {"TSDesbloquearSAT_0", "TSDesbloquearSAT_1", "TSDesbloquearSAT_2", "TSDesbloquearSAT_3"},
     "REDesbloquearSAT", {" Header:  char * DesbloquearSAT( int numeroSessao , char * codigoDeAtivacao );", ""}},
    {13, "TabAtualizarSoft", "PCAtualizarSoft",
     {"TSAtualizarSoft_0", "TSAtualizarSoft_1", "TSAtualizarSoft_2", "TSAtualizarSoft_3"},
     "REAtualizarSoft", {" Header:  char * AtualizarSoftwareSAT( int numeroSessao , char * codigoDeAtivacao );", ""}},
    {15, "TabConsultarStatusMFE", "PCConsultarStatusMFE",
     {"TSConsultarStatusMFE_0", "TSConsutlarStatusMFE_1", "TSConsultarStatusMFE_2", "ConsultarStatusMFE_3"},
     "REConsultarStatusMFE", {"Header: char * ConsultarStatusOperacionalMFE( int numeroSessao , ",
                              "char * codigoDeAtivacao );"}},
    {16, "TabConfInterfaceMFE", "PCConfInterfaceMFE",
     {"TSConfInterfaceMFE_0", "TSConfInterfaceMFE_1", "TSConfInterfaceMFE_2", "TSConfInterfaceMFE_3"},
     "REConfInterfaceMFE", {"Header:    char * ConfigurarInterfaceDeRedeMFE( int numeroSessao ,",
                            " char * codigoDeAtivacao , char * dadosConfiguracao );"}},
};
// clang-format on

} // namespace

const PageNames* pageNames(int page) {
    for (const auto& n : names)
        if (n.page == page)
            return &n;
    return nullptr;
}

} // namespace core
