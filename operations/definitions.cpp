#include "operations/definitions.h"

#include "network/configurar_interface.h"
#include "network/configurar_interface_mfe.h"
#include "operations/consultar_sat.h"
#include "operations/status_report.h"

#include <algorithm>

namespace operations {
namespace {

const core::Operation& page(int number) {
    return *core::operationByPage(number);
}

// clang-format off
const core::OperationDefinition all[] = {
    {page(0), {}, bindConsultarSat},
    {page(1), network::configurarInterfaceFields, network::bindConfigurarInterface},
    {page(5), statusFields, bindStatus},
    {page(15), statusFields, bindExtendedStatus},
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

} // namespace operations
