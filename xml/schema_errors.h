#pragma once
// Whole-document schema validation that keeps, for every error, the node it was found at, and
// hands each element the first error of its own subtree. libxml2 can only validate a globally
// declared element on its own, and the CF-e schemas declare just the root, so the per-element view
// is built from one validation of the whole document.

#include "xml/xsd_schema.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace xml {

struct SchemaError {
    const xmlNode* node = nullptr; // element (or attribute) of the validated document the error
                                   // was found at; null when libxml2 names none
    std::string reason;            // libxml2's text, trimmed
};

// Re-validations allowed after elements a content model rejected.
inline constexpr int kMaxRecoveryPasses = 8;

// Validates the whole document; returns its errors in the order they were found.
//
// After a child its parent's content model rejects ("This element is not expected"), libxml2
// checks nothing more of that parent's content. To find what a per-element validator would still
// find after such a point, a copy of the document is validated again against the schema with
// that parent's content model relaxed (its children in any order, each against its own
// declaration; see schema_relaxation.h); a child even the relaxed model rejects has no
// declaration there and is taken out of the copy. This repeats at most kMaxRecoveryPasses times.
// Errors already found, and further content-model errors of a parent whose content was already
// reported, are left out.
std::vector<SchemaError> schemaErrors(const XsdSchema& schema, xmlDoc& doc);

// For every element of a document, the first error found in its own subtree (itself included).
// An error without a node counts as the root element's.
class SubtreeErrors {
public:
    SubtreeErrors(std::vector<SchemaError> errors, const xmlDoc& doc);
    // Empty when the element's subtree has no error.
    std::string_view firstIn(const xmlNode* element) const;

private:
    std::vector<SchemaError> errors_;
    std::unordered_map<const xmlNode*, std::size_t> first_; // node -> index into errors_
};

} // namespace xml
