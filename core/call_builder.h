#pragma once
// The call text and the arguments of one call, built from the operation's catalogue entry: each
// parameter's type says whether its value goes out as an integer or as text.

#include "core/execution.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// The value of one parameter after numeroSessao, in catalogue order.
struct CallValue {
    std::string value;     // an integer parameter's digits; typed text (UTF-8); a document's bytes
    bool document = false; // bytes read from a file: sent unchanged in both access modes
    std::optional<std::string> callText; // how the call text shows it, when not as sent
    std::optional<std::string> preview;  // how the Integrador preview shows it, when not as sent

    static CallValue typed(std::string text) { return {std::move(text), false, {}, {}}; }
};

// The message that refuses typed text holding a character the module's code page cannot hold (it
// would arrive as "?"), naming the character and the parameter; nullopt when the code page holds
// every character. "Analisar" lists it as the call refuses it.
std::optional<std::string> outsideCodePageFinding(std::string_view parameter,
                                                  std::string_view value);

// "Mostrar": the call text (name + "(" + session number + "," + values joined by "," + ")") and
// the arguments, the session number sent as the integer its six digits denote. Throws
// std::invalid_argument when the number of values does not match the operation's parameters, an
// integer parameter's value is not a number, or typed text holds a character the module's code
// page cannot hold (outsideCodePageFinding: a wrong code counts towards blocking the module).
PreparedCall buildCall(const Operation& operation, std::string_view sessionNumber,
                       std::vector<CallValue> values);

} // namespace core
