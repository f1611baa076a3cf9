#include "registry/definitions.h"

#include "documents/cancel_last_sale.h"
#include "documents/end_to_end.h"
#include "documents/sale.h"
#include "network/configurar_interface.h"
#include "network/configurar_interface_mfe.h"
#include "operations/associar_assinatura.h"
#include "operations/ativar_sat.h"
#include "operations/consultar_numero_sessao.h"
#include "operations/consultar_sat.h"
#include "operations/extrair_logs.h"
#include "operations/status_report.h"
#include "operations/trocar_codigo.h"

#include <algorithm>

namespace registry {
namespace {

const core::Operation& page(int number) {
    return *core::operationByPage(number);
}

// clang-format off
const core::OperationDefinition all[] = {
    {page(0), {}, operations::bindConsultarSat},
    {page(1), network::configurarInterfaceFields, network::bindConfigurarInterface},
    {page(2), operations::ativarFields, operations::bindAtivar},
    {page(3), operations::associarFields, operations::bindAssociar},
    {page(4), documents::endToEndFields, documents::bindTesteFimAFim},
    {page(5), operations::statusFields, operations::bindStatus},
    {page(6), operations::trocarFields, operations::bindTrocar},
    {page(7), operations::extrairLogsFields, operations::bindExtrairLogs},
    {page(8), documents::saleFields, documents::bindEnviarDadosVenda},
    {page(9), documents::cancelFields, documents::bindCancelarUltimaVenda},
    {page(10), operations::consultarNumeroSessaoFields, operations::bindConsultarNumeroSessao},
    {page(11), operations::statusFields, core::bindCodeOnly},
    {page(12), operations::statusFields, core::bindCodeOnly},
    {page(13), operations::statusFields, core::bindCodeOnly},
    {page(15), operations::statusFields, operations::bindExtendedStatus},
    {page(16), network::configurarInterfaceMfeFields, network::bindConfigurarInterfaceMfe},
};
// clang-format on

} // namespace

std::span<const core::OperationDefinition> definitions() {
    return all;
}

const core::OperationDefinition* definitionOf(const core::Operation& operation) {
    const auto it = std::find_if(std::begin(all), std::end(all),
                                 [&](const auto& d) { return &d.operation == &operation; });
    return it == std::end(all) ? nullptr : &*it;
}

} // namespace registry
