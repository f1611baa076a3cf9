// The network configuration operations of the SAT (one interface) and of the MF-e (four
// slots). Either replaces every stored configuration.

#include "emulator/module/module.h"

#include "emulator/module/network.h"

namespace emulator {

Answer Module::configurarInterfaceDeRede(int sessao, std::string_view codigo,
                                         std::string_view dados) {
    if (auto refused = refuseCode(Op::ConfigurarInterfaceDeRede, sessao, codigo))
        return *refused;
    std::string error;
    auto config = readNetworkConfig(dados, error);
    if (!config)
        return standardAnswer(sessao, "12002", error);
    state_.network = {std::move(*config), {}, {}, {}};
    return standardAnswer(sessao, "12000");
}

Answer Module::configurarInterfaceDeRedeMFE(int sessao, std::string_view codigo,
                                            std::string_view dados) {
    if (auto refused = refuseCode(Op::ConfigurarInterfaceDeRedeMFE, sessao, codigo))
        return *refused;
    std::string error;
    auto slots = readNetworkSlots(dados, error);
    if (!slots)
        return standardAnswer(sessao, "12002", error);
    state_.network = std::move(*slots);
    return standardAnswer(sessao, "12000");
}

} // namespace emulator
