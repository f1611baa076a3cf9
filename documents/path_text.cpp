#include "documents/path_text.h"

#include "core/text.h"

namespace documents {

std::string fileNamePart(std::string_view fieldText) {
    return core::utf8FromPath(core::pathFromUtf8(core::trimmed(fieldText)).filename());
}

} // namespace documents
