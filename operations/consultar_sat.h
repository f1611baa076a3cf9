#pragma once
// The SAT query: no parameter but the session number, no analysis, no report.

#include "core/operation_definition.h"

namespace operations {

core::OperationLogic bindConsultarSat(const core::Operation& operation, const core::Inputs& inputs,
                                      const core::OperationContext& context);

} // namespace operations
