#pragma once
// What one "Executar" (or one run of the command line) did, as its front end saw it: the
// inputs, what was shown and sent, what came back or what stopped it, and when. The journal
// turns it into an entry; the front ends only fill it.

#include "core/execution.h"
#include "core/operation_definition.h"

#include <chrono>
#include <exception>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace core {

struct CallAttempt {
    const Operation* operation = nullptr;
    std::span<const InputField> fields; // the operation's input fields
    Inputs inputs;
    std::chrono::system_clock::time_point start = std::chrono::system_clock::now();
    std::chrono::steady_clock::time_point startedAt = std::chrono::steady_clock::now();
    std::chrono::steady_clock::duration duration{};
    bool integradorMode = false;
    std::string session;
    std::string requestIdentifier;
    std::optional<PreparedCall> call; // what "Mostrar" built; absent when refused before it
    std::optional<Executed> executed; // absent when the call did not answer
    CallEnd end = CallEnd::Answered;  // with `executed`: whether the module itself answered
    std::string refusal;              // why the program refused before calling
    std::exception_ptr failure;       // what ended the call without an answer
    std::vector<std::string> files;   // the files the call wrote (UTF-8 paths)

    // Stops the clock: the call's duration runs from the attempt's start to now.
    void finish() { duration = std::chrono::steady_clock::now() - startedAt; }
};

} // namespace core
