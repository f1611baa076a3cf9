#pragma once
// Runs a module call off the window's thread while a modal wait dialog shows the operation,
// the time elapsed and the wait limit, so the window stays painted and nothing else can be
// used until the answer is there.

#include "core/call_thread.h"
#include "core/wait_info.h"

#include <functional>
#include <string>

class QWidget;

namespace ui {

// Runs `call` on the call thread and returns its answer; an exception it throws is rethrown
// here. The dialog appears only when the call takes longer than a moment.
std::string runWithWaitDialog(QWidget* parent, core::CallThread& thread, const core::WaitInfo& info,
                              const std::function<std::string()>& call);

} // namespace ui
