#include "documents/validate_buttons.h"

#include "core/path_text.h"
#include "xml/issued_cfe_schema.h"
#include "xml/xml_validation.h"

#include <stdexcept>
#include <system_error>

namespace documents {
namespace {

// The button table: what differs between the three buttons (and the two kinds of page 9).
struct ButtonRules {
    DocumentKind kind;
    BoxColour progressColour; // also the colour of the schema-not-found message
    std::string_view successLine;
    std::string_view schemaMissing;
    bool clearsBeforeMessages; // clears the box before the file and schema messages too
    bool acceptsUndecided;     // takes "O nó não e válido nem inválido" as success
};

ButtonRules rulesOf(ValidateButton button, bool checkCFe) {
    switch (button) {
    case ValidateButton::BtnValidar:
        return {DocumentKind::CFe,
                BoxColour::Red,
                "Validação do XML OK.",
                "Arquivo XSD não foi encontrado.",
                false,
                false};
    case ValidateButton::BtnValida_8:
        return {DocumentKind::CFe,
                BoxColour::Red,
                "Validação do XML do CFe OK.",
                "Arquivo XSD para validação do CFe não foi encontrado.",
                true,
                false};
    case ValidateButton::BtnValida_9:
        break;
    }
    // The file of the issued-CF-e mode is an issued CF-e: signed, with its access key and the
    // values the module adds, which the sale document's schema does not allow.
    if (checkCFe)
        return {DocumentKind::IssuedCFe,
                BoxColour::Red,
                "Validação do XML do CFe OK.",
                "Arquivo XSD para validação do CFe não foi encontrado.",
                false,
                true};
    return {DocumentKind::CFeCanc,
            BoxColour::Green,
            "Validação do XML do CFeCanc OK.",
            "Arquivo XSD para validação do CFeCanc não foi encontrado.",
            false,
            false};
}

constexpr std::string_view kUndecided = "O nó não e válido nem inválido";

std::string progressLine(DocumentKind kind, Layout layout) {
    return std::string(kind != DocumentKind::CFeCanc
                           ? "Submetendo ao XSD do layout "
                           : "Submetendo ao XSD de cancelamento do layout ") +
           std::string(layoutName(layout)) + " ...";
}

ValidationBox validate(ValidateButton button, Layout layout, bool checkCFe,
                       std::string_view fileName, const std::filesystem::path& programDir) {
    const ButtonRules rules = rulesOf(button, checkCFe);
    const std::filesystem::path document = core::pathFromUtf8(fileName);
    // A folder or a device is no document file either.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(document, ec))
        return {rules.clearsBeforeMessages,
                {"Arquivo: " + std::string(fileName) + " não existe."},
                BoxColour::Red,
                {}};
    const auto schema = findSchema(programDir, layout, rules.kind);
    if (!schema)
        return {rules.clearsBeforeMessages,
                {std::string(rules.schemaMissing)},
                rules.progressColour,
                {}};
    try {
        const xml::SchemaLoader load =
            rules.kind == DocumentKind::IssuedCFe ? &xml::loadIssuedCFeSchema : &xml::loadXsdSchema;
        return boxAfterValidation(button, layout, checkCFe,
                                  xml::ValidarXmlComXsd(document, *schema, load));
    } catch (const std::runtime_error& e) {
        return {true, {progressLine(rules.kind, layout)}, rules.progressColour, e.what()};
    }
}

} // namespace

std::string_view layoutName(Layout layout) {
    switch (layout) {
    case Layout::V006:
        return "0.06";
    case Layout::V007:
        return "0.07";
    case Layout::V008:
        break;
    }
    return "0.08";
}

std::optional<Layout> layoutNamed(std::string_view name) {
    for (const Layout layout : {Layout::V006, Layout::V007, Layout::V008})
        if (layoutName(layout) == name)
            return layout;
    return std::nullopt;
}

std::vector<std::string> schemaFileNames(Layout layout, DocumentKind kind) {
    if (kind == DocumentKind::IssuedCFe)
        return {"CfeRecepcao_000" + std::string(1, layoutName(layout).back()) + ".xsd"};
    const bool cfe = kind == DocumentKind::CFe;
    switch (layout) {
    case Layout::V006:
        if (cfe)
            return {"CFeRecebido.xsd", "emissao_cfe_0006.xsd"};
        return {"CancRecebido.xsd", "cancelamento_0006.xsd"};
    case Layout::V007:
        if (cfe)
            return {"CFeRecebido_7.xsd", "emissao_cfe_0007.xsd"};
        return {"CancRecebido_7.xsd", "cancelamento_0007.xsd"};
    case Layout::V008:
        break;
    }
    if (cfe)
        return {"CFeRecebido_8.xsd", "emissao_cfe_0008.xsd"};
    return {"CancRecebido_8.xsd", "cancelamento_0008.xsd"};
}

std::optional<std::filesystem::path> findSchema(const std::filesystem::path& programDir,
                                                Layout layout, DocumentKind kind) {
    for (const std::string& name : schemaFileNames(layout, kind)) {
        const std::filesystem::path candidate = programDir / "Schemas" / name;
        std::error_code ec;
        if (std::filesystem::is_regular_file(candidate, ec))
            return candidate;
    }
    return std::nullopt;
}

ValidationBox boxAfterValidation(ValidateButton button, Layout layout, bool checkCFe,
                                 const core::Lines& findings) {
    const ButtonRules rules = rulesOf(button, checkCFe);
    ValidationBox box{true, {progressLine(rules.kind, layout)}, rules.progressColour, {}};
    box.lines.insert(box.lines.end(), findings.begin(), findings.end());
    if (box.lines.size() == 1) {
        box.lines.emplace_back(rules.successLine);
        box.colour = BoxColour::WindowText;
    } else if (rules.acceptsUndecided && box.lines.size() == 2 &&
               box.lines[1].starts_with(kUndecided)) {
        box.lines[1] = rules.successLine;
        box.colour = BoxColour::WindowText;
    }
    return box;
}

ValidationBox validarXmlFimAFim(Layout layout, std::string_view fileName,
                                const std::filesystem::path& programDir) {
    return validate(ValidateButton::BtnValidar, layout, false, fileName, programDir);
}

ValidationBox validarXmlVenda(Layout layout, std::string_view fileName,
                              const std::filesystem::path& programDir) {
    return validate(ValidateButton::BtnValida_8, layout, false, fileName, programDir);
}

ValidationBox validarXmlCancelamento(Layout layout, bool checkCFe, std::string_view fileName,
                                     const std::filesystem::path& programDir) {
    return validate(ValidateButton::BtnValida_9, layout, checkCFe, fileName, programDir);
}

} // namespace documents
