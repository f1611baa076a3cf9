#pragma once
// What an operation page needs from the window that holds it.

#include "core/arguments.h"
#include "core/call_text.h"
#include "core/catalogue.h"
#include "core/shared_state.h"

#include <functional>
#include <string>

class QString;

namespace core {

class PageHost {
public:
    virtual ~PageHost() = default;

    virtual SharedState& state() = 0;
    virtual bool integradorMode() const = 0;
    virtual std::string drawSessionNumber() = 0;

    // In Integrador mode: draws a new request identifier and returns the request preview lines
    // that follow the call text.
    virtual Lines requestPreview(const Operation& operation, const Arguments& arguments) = 0;

    // Calls the module through the active back-end; returns when the answer is there, keeping
    // the window painted meanwhile.
    virtual std::string callModule(const Operation& operation, const Arguments& arguments) = 0;

    // The current answer document as the Integrador answer block shows it.
    virtual std::string answerDocumentForDisplay() = 0;

    // Runs a button's action; an exception it raises is shown in the standard error box.
    virtual void guarded(const std::function<void()>& action) = 0;

    virtual void cursorWait() = 0;
    virtual void cursorDefault() = 0;
};

} // namespace core
