#pragma once
// What the window and the command line do alike when they run an operation: the session number
// from the time of day, the request preview under a new identifier, the answer document as the
// Integrador answer block shows it. Each front end adds only how it calls the module.

#include "core/execution.h"

namespace backend {

class ModuleAccessBase : public core::ModuleAccess {
public:
    std::string drawSessionNumber() override;
    core::Lines requestPreview(const core::Operation& operation,
                               const core::Arguments& arguments) override;
    std::string answerDocumentForDisplay() override;
    core::CallEnd lastCallEnd() const override { return lastCallEnd_; }

protected:
    // Set by each callModule of the front end.
    core::CallEnd lastCallEnd_ = core::CallEnd::Answered;
};

} // namespace backend
