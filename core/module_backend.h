#pragma once
// The one way a page reaches the module: an operation and its arguments in, the answer out.

#include "core/arguments.h"
#include "core/catalogue.h"

#include <string>

namespace core {

class ModuleBackend {
public:
    virtual ~ModuleBackend() = default;
    // Blocks until the answer is there; returns the answer's bytes.
    virtual std::string call(const Operation& operation, const Arguments& arguments) = 0;
};

} // namespace core
