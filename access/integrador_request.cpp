#include "access/integrador_request.h"

#include "core/pseudo_random.h"
#include "xml/xml_text.h"

#include <cstdio>
#include <initializer_list>
#include <stdexcept>

namespace backend {
namespace {

using core::IntegradorParam;

// Only these two previews carry the type comment lines.
bool previewHasTypeComments(const core::Operation& operation) {
    return operation.name == "BloquearSAT" || operation.name == "CancelarUltimaVenda";
}

// `spaces` blanks and the parts, in one allocation (a part may be a megabyte-long document).
std::string indented(int spaces, std::initializer_list<std::string_view> parts) {
    std::size_t size = std::size_t(spaces);
    for (const std::string_view part : parts)
        size += part.size();
    std::string line;
    line.reserve(size);
    line.append(std::size_t(spaces), ' ');
    for (const std::string_view part : parts)
        line.append(part);
    return line;
}

// The document's lines, each value already in its XML form (escaped, or CDATA content).
std::vector<TemplateLine> documentLines(const core::Operation& operation,
                                        std::string_view identificador,
                                        const std::vector<std::string>& values, bool typeComments) {
    // The two status queries indent a few lines one space less (or more).
    const bool variant = operation.statusIndentation;
    std::vector<TemplateLine> lines;
    const auto add = [&lines](int spaces, std::initializer_list<std::string_view> parts,
                              bool placeholder = false) {
        lines.push_back({indented(spaces, parts), placeholder});
    };
    add(0, {R"(<?xml version="1.0" encoding="utf-8" ?>)"});
    add(0, {"<Integrador>"});
    add(2, {"<Identificador>"});
    add(4, {"<Valor>", identificador, "</Valor>"}, true);
    add(2, {"</Identificador>"});
    add(2, {R"(<Componente Nome="MF-e">)"});
    add(4, {R"(<Metodo Nome=")", operation.integradorMethod, R"(">)"});
    add(variant ? 5 : 6, {"<Parametros>"});
    for (std::size_t i = 0; i < operation.integradorParams.size(); ++i) {
        const IntegradorParam& p = operation.integradorParams[i];
        const bool sessao = p.name == "numeroSessao";
        const bool codigo = p.name == "codigoDeAtivacao";
        add(8, {"<Parametro>"});
        add(variant && codigo ? 9 : 10, {"<Nome>", p.name, "</Nome>"});
        if (typeComments)
            add(variant && sessao ? 9 : 10, {"<!--", p.typeComment, "-->"});
        add(variant && sessao ? 9 : 10,
            {p.cdata ? "<Valor><![CDATA[" : "<Valor>", values[i],
             p.cdata ? "]]></Valor>" : "</Valor>"},
            true);
        add(8, {"</Parametro>"});
    }
    add(6, {"</Parametros>"});
    add(4, {"</Metodo>"});
    add(variant ? 3 : 2, {"</Componente>"});
    add(0, {"</Integrador>"});
    return lines;
}

void checkCount(const core::Operation& operation, const core::Arguments& arguments) {
    if (arguments.size() != operation.params.size())
        throw std::invalid_argument(std::string(operation.name) + ": wrong number of arguments");
}

// A value's XML form: documents inside CDATA, everything else as escaped text.
std::string xmlValue(const IntegradorParam& p, std::string_view value) {
    return p.cdata ? xml::cdataContent(value) : xml::xmlText(value);
}

std::vector<std::string> fileValues(const core::Operation& operation,
                                    const core::Arguments& arguments) {
    checkCount(operation, arguments);
    std::vector<std::string> values;
    for (const auto& p : operation.integradorParams) {
        if (p.argument < 0) {
            values.push_back(xmlValue(p, p.constant));
            continue;
        }
        const core::Argument& a = arguments[std::size_t(p.argument)];
        values.push_back(a.kind == core::Argument::Kind::Int ? std::to_string(a.number)
                                                             : xmlValue(p, a.text));
    }
    return values;
}

} // namespace

std::string GeraIdentificador(const core::TimeOfDay& t) {
    const std::int64_t seed = std::int64_t{t.hour} * 9999 + std::int64_t{t.minute} * 34463 +
                              t.second + std::int64_t{t.millisecond} * 16959;
    const std::uint32_t number = core::drawOnce(core::seed16(seed), 99999998) + 1;
    char text[12];
    std::snprintf(text, sizeof text, "%08u", number);
    return text;
}

std::string requestFileName(const core::Operation& operation, std::string_view identificador) {
    return std::string(operation.filePrefix).append(identificador).append(".xml");
}

std::string requestDocument(const core::Operation& operation, std::string_view identificador,
                            const core::Arguments& arguments) {
    const auto lines =
        documentLines(operation, identificador, fileValues(operation, arguments), true);
    std::size_t size = 0;
    for (const auto& line : lines)
        size += line.text.size() + 2;
    std::string file;
    file.reserve(size);
    for (const auto& line : lines)
        file.append(line.text).append("\r\n");
    return file;
}

core::Lines integradorPreview(const core::Operation& operation, std::string_view identificador,
                              std::string_view sessionNumberText,
                              const core::Arguments& arguments) {
    checkCount(operation, arguments);
    std::vector<std::string> values;
    for (const auto& p : operation.integradorParams) {
        if (p.argument < 0)
            values.push_back(xmlValue(p, p.constant));
        else if (p.name == "numeroSessao")
            values.push_back(xmlValue(p, sessionNumberText));
        else
            values.push_back(xmlValue(p, arguments[std::size_t(p.argument)].shown));
    }
    core::Lines lines(operation.page == 0 ? 1 : 2);
    lines.push_back("------------  XML Integrador  ------------------------------");
    lines.emplace_back();
    for (const auto& line :
         documentLines(operation, identificador, values, previewHasTypeComments(operation)))
        core::appendLines(lines, line.text);
    return lines;
}

core::Lines previewWithNewIdentifier(core::SharedState& state, const core::TimeOfDay& time,
                                     const core::Operation& operation,
                                     const core::Arguments& arguments) {
    state.requestIdentifier = GeraIdentificador(time);
    return integradorPreview(operation, state.requestIdentifier, state.sessionNumber, arguments);
}

std::vector<TemplateLine> integradorTemplate(const core::Operation& operation) {
    std::vector<std::string> words;
    for (const auto& p : operation.integradorParams)
        words.emplace_back(p.placeholder);
    return documentLines(operation, "numeroIdentificador", words, false);
}

} // namespace backend
