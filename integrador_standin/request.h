#pragma once
// A request file as the Integrador stand-in reads it, and the library arguments it names.

#include "core/arguments.h"
#include "core/catalogue.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace standin {

struct Request {
    std::string identificador;                                   // Integrador/Identificador/Valor
    std::string method;                                          // Metodo Nome
    std::vector<std::pair<std::string, std::string>> parameters; // Nome and Valor, in order
};

// nullopt with `error` set when the bytes are not a well-formed Integrador request.
std::optional<Request> parseRequest(std::string_view bytes, std::string& error);

// The arguments of the operation's library function, taken from the request's parameters by
// the catalogue's mapping: integers parsed, documents (CDATA parameters) as their bytes, other
// texts as typed UTF-8 text. nullopt with `error` set when a parameter is missing or an
// integer is not one.
std::optional<core::Arguments> argumentsFor(const core::Operation& operation,
                                            const Request& request, std::string& error);

} // namespace standin
