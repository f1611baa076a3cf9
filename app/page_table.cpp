#include "app/page_table.h"

#include "network/configurar_interface_mfe_page.h"
#include "network/configurar_interface_page.h"
#include "operations/status_page.h"

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
    {5, make<operations::StatusPage>},
    {15, make<operations::StatusPage>},
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
