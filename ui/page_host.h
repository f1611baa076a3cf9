#pragma once
// What an operation page needs from the window that holds it.

#include "access/module_access_base.h"
#include "core/call_attempt.h"
#include "core/operation_definition.h"

#include <functional>

namespace ui {

// The window's side of running an operation: the module access, plus the error box and the
// hourglass cursor. callModule keeps the window painted while it waits.
class PageHost : public backend::ModuleAccessBase {
public:
    // Runs a button's action; an exception it raises is shown in the standard error box.
    virtual void guarded(const std::function<void()>& action) = 0;

    // The program folder, the chosen layout and the shared state, for the operation's logic.
    virtual core::OperationContext operationContext() const = 0;

    // After "Executar" has shown its answer (or its failure): what the call did, for the journal.
    virtual void recordAttempt(const core::CallAttempt& attempt) = 0;

    virtual void cursorWait() = 0;
    virtual void cursorDefault() = 0;
};

} // namespace ui
