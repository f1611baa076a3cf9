#include "operations/consultar_sat.h"

#include "core/call_builder.h"

namespace operations {

core::OperationLogic bindConsultarSat(const core::Operation& operation, const core::Inputs&,
                                      const core::OperationContext&) {
    core::OperationLogic logic;
    logic.prepare = [&operation](const std::string& session) {
        return core::buildCall(operation, session, {});
    };
    return logic;
}

} // namespace operations
