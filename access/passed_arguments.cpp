#include "access/passed_arguments.h"

#include "core/text.h"

#include <stdexcept>

namespace backend {

PassedArguments passedArguments(const core::Operation& operation,
                                const core::Arguments& arguments) {
    if (arguments.size() != operation.params.size())
        throw std::invalid_argument(std::string(operation.name) + ": wrong number of arguments");
    PassedArguments passed;
    passed.reserve(arguments.size());
    for (const auto& a : arguments) {
        if (a.kind == core::Argument::Kind::Int)
            passed.emplace_back(a.number);
        else
            passed.emplace_back(a.kind == core::Argument::Kind::Document ? a.text
                                                                         : core::toAnsi(a.text));
    }
    return passed;
}

} // namespace backend
