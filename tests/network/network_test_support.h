#pragma once
// The network operations as both front ends reach them: through their definitions, with inputs
// keyed as the pages and the command line give them.

#include "core/catalogue.h"
#include "core/operation_definition.h"
#include "registry/definitions.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace network_test {

inline constexpr std::string_view declaration = R"(<?xml version="1.0" encoding="utf-8"?>)";

inline core::Inputs
inputsOf(std::initializer_list<std::pair<std::string_view, std::string>> values) {
    core::Inputs inputs;
    for (const auto& [key, value] : values)
        inputs.set(key, value);
    return inputs;
}

inline core::OperationLogic bound(int page, const core::Inputs& inputs) {
    const core::Operation& operation = *core::operationByPage(page);
    return registry::definitionOf(operation)->bind(operation, inputs, {});
}

// What "Mostrar" prepares for session 000123.
inline core::PreparedCall prepared(int page, const core::Inputs& inputs) {
    return bound(page, inputs).prepare("000123");
}

// The dadosConfiguracao sent.
inline std::string sentConfiguration(int page, const core::Inputs& inputs) {
    return prepared(page, inputs).arguments.at(2).text;
}

} // namespace network_test
