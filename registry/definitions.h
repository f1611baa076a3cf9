#pragma once
// Every operation the program offers, in page order: the window builds a page for each and the
// command line an entry. An operation of the catalogue that is missing here is not available yet.

#include "core/operation_definition.h"

#include <span>

namespace registry {

std::span<const core::OperationDefinition> definitions();

// The definition of an operation; nullptr while the operation is not available.
const core::OperationDefinition* definitionOf(const core::Operation& operation);

} // namespace registry
