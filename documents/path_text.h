#pragma once
// The file name a document field names.

#include "core/path_text.h"

#include <string>
#include <string_view>

namespace documents {

// The file-name part (no folder) of a field's text with leading and trailing blanks removed.
std::string fileNamePart(std::string_view fieldText);

} // namespace documents
