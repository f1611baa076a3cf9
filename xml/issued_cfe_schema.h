#pragma once
// The schema of an issued (signed) CF-e. The tax authority publishes it only inside the schema of
// its reception service, CfeRecepcao_000N.xsd, whose root is the batch envelope envCFe and whose
// envCFe/LoteCFe/CFe is the issued CF-e. Loaded with that declaration as the schema's one global
// element, it validates an issued CF-e file as it stands, so the findings are on its own elements.

#include "xml/xsd_schema.h"

#include <filesystem>

namespace xml {

// Reads the reception schema with the safe reader, strips its anchors, makes envCFe/LoteCFe/CFe
// its global element and compiles it. Throws std::runtime_error (file name and reason) when the
// file cannot be read, holds no such declaration or does not compile.
XsdSchema loadIssuedCFeSchema(const std::filesystem::path& file);

} // namespace xml
