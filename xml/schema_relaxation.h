#pragma once
// Relaxing one element's content model in a schema document. After a child its parent's content
// model rejected, libxml2 checks nothing more of that parent's content; with the parent's model
// relaxed, the remaining children are still checked against their own declarations, as a
// per-element validator would check them.

#include <libxml/tree.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace xml {

// The inline declaration of the element at path (element names from a global declaration down,
// e.g. {"envCFe", "LoteCFe", "CFe"}), or null when there is none.
xmlNode* findDeclaration(xmlDoc& schemaDoc, const std::vector<std::string>& path);

// Finds the inline declaration of the element at path (element names from the root down, e.g.
// {"CFe", "infCFe"}) and replaces its content model by a choice, repeated any number of times,
// of the child element declarations the model holds: children in any order and number, each one
// still checked against its own declaration. Returns the names of those declarations, or nothing
// when the path has no inline declaration with a content model.
std::optional<std::set<std::string>> relaxContentModel(xmlDoc& schemaDoc,
                                                       const std::vector<std::string>& path);

} // namespace xml
