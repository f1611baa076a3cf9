#pragma once
// The element structure of the documents a point of sale sends (sale input layouts 0.06 to
// 0.08, and the cancellation request): which elements each group holds, in which order and
// how many times. Checked before any value is read, so the readers can rely on every required
// element being there.

#include "emulator/sale/rejections.h"

#include <libxml/tree.h>

#include <string>

namespace emulator {

struct StructureError {
    enum class Kind { Missing, Unexpected };
    Kind kind;
    std::string element;       // the missing or unexpected element
    std::string parent;        // the group it was looked for in
    int item = 0;              // nItem of the det it belongs to, or 0
    std::string expected = {}; // for an unexpected element, the mandatory one due in its place
};

enum class DocumentKind { Sale, Cancellation };

// Checks the document from its root (CFe or CFeCanc); true when it has the expected structure,
// else false with the first deviation in document order.
bool checkStructure(const xmlNode* root, DocumentKind kind, StructureError& error);

// The rejection of a structural fault: the CCCC of a missing element the table names (cProd,
// xProd, uCom, IE), else 1999 with the fault spelt out (the unexpected element named, as a
// module that validates by schema names it).
Rejection rejectionOf(const StructureError& error);

} // namespace emulator
