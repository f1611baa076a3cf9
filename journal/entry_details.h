#pragma once
// The details of one journal entry as the "Histórico" view shows them: where and when, the call
// text, the Integrador request, the raw answer, the page's report as it was shown, and the files.

#include "core/lines.h"
#include "journal/call_entry.h"

namespace journal {

core::Lines detailLines(const CallEntry& entry);

} // namespace journal
