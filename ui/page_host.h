#pragma once
// What an operation page needs from the window that holds it.

#include "core/execution.h"
#include "settings/program_folders.h"

#include <functional>

namespace ui {

// The window's side of running an operation: the module access, plus the error box and the
// hourglass cursor. callModule keeps the window painted while it waits.
class PageHost : public core::ModuleAccess {
public:
    // Runs a button's action; an exception it raises is shown in the standard error box.
    virtual void guarded(const std::function<void()>& action) = 0;

    virtual void cursorWait() = 0;
    virtual void cursorDefault() = 0;

    // Where the program's files are, and where the files a page writes go (Retornos, Temp,
    // Para_Cancelar below `data`).
    virtual const settings::ProgramFolders& folders() const = 0;
};

} // namespace ui
