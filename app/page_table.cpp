#include "app/page_table.h"

#include "documents/cancel_last_sale_page.h"
#include "documents/end_to_end_page.h"
#include "documents/sale_page.h"
#include "network/configurar_interface_mfe_page.h"
#include "network/configurar_interface_page.h"
#include "operations/activation_code_page.h"
#include "operations/associar_assinatura_page.h"
#include "operations/ativar_sat_page.h"
#include "operations/consultar_numero_sessao_page.h"
#include "operations/trocar_codigo_page.h"

#include <algorithm>

namespace app {
namespace {

template <typename Page>
ui::OperationPage* make(const core::OperationDefinition& definition, ui::PageHost& host) {
    return new Page(definition, host);
}

// clang-format off
constexpr PageFactory factories[] = {
    {0, make<ui::OperationPage>},
    {1, make<network::ConfigurarInterfacePage>},
    {2, make<operations::AtivarSatPage>},
    {3, make<operations::AssociarAssinaturaPage>},
    {4, make<documents::EndToEndPage>},
    {5, make<operations::ActivationCodePage>},
    {6, make<operations::TrocarCodigoPage>},
    {7, make<operations::ExtrairLogsPage>},
    {8, make<documents::SalePage>},
    {9, make<documents::CancelLastSalePage>},
    {10, make<operations::ConsultarNumeroSessaoPage>},
    {11, make<operations::ActivationCodePage>},
    {12, make<operations::ActivationCodePage>},
    {13, make<operations::ActivationCodePage>},
    {15, make<operations::ActivationCodePage>},
    {16, make<network::ConfigurarInterfaceMfePage>},
};
// clang-format on

} // namespace

std::span<const PageFactory> pageFactories() {
    return factories;
}

const PageFactory* pageFactory(int page) {
    const auto it = std::find_if(std::begin(factories), std::end(factories),
                                 [page](const PageFactory& f) { return f.page == page; });
    return it == std::end(factories) ? nullptr : &*it;
}

} // namespace app
