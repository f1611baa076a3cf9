#include "integrador_standin/request.h"

#include "core/text.h"
#include "xml/xml_paths.h"
#include "xml/xml_security.h"

#include <algorithm>
#include <stdexcept>

namespace standin {

std::optional<Request> parseRequest(std::string_view bytes, std::string& error) {
    const auto parsed = xml::parseXmlSafely(bytes);
    if (!parsed.doc) {
        error = xml::describe(parsed.error);
        return std::nullopt;
    }
    const xmlNode* root = xmlDocGetRootElement(parsed.doc.get());
    if (std::string_view(reinterpret_cast<const char*>(root->name)) != "Integrador") {
        error = "a raiz do documento não é Integrador";
        return std::nullopt;
    }
    const xmlNode* metodo = xml::childElement(xml::childElement(root, "Componente"), "Metodo");
    Request request{xml::pathText(root, {"Integrador", "Identificador", "Valor"}),
                    xml::attribute(metodo, "Nome"),
                    {}};
    const xmlNode* parametros = xml::childElement(metodo, "Parametros");
    for (const xmlNode* p = parametros ? parametros->children : nullptr; p; p = p->next)
        if (p->type == XML_ELEMENT_NODE &&
            std::string_view(reinterpret_cast<const char*>(p->name)) == "Parametro")
            request.parameters.emplace_back(xml::textContent(xml::childElement(p, "Nome")),
                                            xml::textContent(xml::childElement(p, "Valor")));
    return request;
}

std::optional<core::Arguments> argumentsFor(const core::Operation& operation,
                                            const Request& request, std::string& error) {
    core::Arguments arguments(operation.params.size());
    for (const auto& p : operation.integradorParams) {
        if (p.argument < 0)
            continue; // a constant of the request, not an argument of the function
        const auto found =
            std::find_if(request.parameters.begin(), request.parameters.end(),
                         [&](const auto& parameter) { return parameter.first == p.name; });
        if (found == request.parameters.end()) {
            error = "Parâmetro " + std::string(p.name) + " ausente";
            return std::nullopt;
        }
        const std::string& value = found->second;
        auto& argument = arguments[std::size_t(p.argument)];
        if (operation.params[std::size_t(p.argument)].type == core::ParamType::Int) {
            try {
                argument = core::Argument::integer(core::toInt(value), value);
            } catch (const std::invalid_argument&) {
                error = "Parâmetro " + std::string(p.name) + " não é um inteiro: " + value;
                return std::nullopt;
            }
        } else {
            argument = p.cdata ? core::Argument::document(value, value)
                               : core::Argument::typed(value, value);
        }
    }
    return arguments;
}

} // namespace standin
