#include "access/module_access_base.h"

#include "access/integrador_answer.h"
#include "access/integrador_request.h"
#include "core/session_number.h"
#include "core/time_of_day.h"

namespace backend {

std::string ModuleAccessBase::drawSessionNumber() {
    return core::geranumsessao(core::localTimeOfDay());
}

core::Lines ModuleAccessBase::requestPreview(const core::Operation& operation,
                                             const core::Arguments& arguments) {
    return previewWithNewIdentifier(state(), core::localTimeOfDay(), operation, arguments);
}

std::string ModuleAccessBase::answerDocumentForDisplay() {
    return backend::answerDocumentForDisplay(state().answerDocument);
}

} // namespace backend
