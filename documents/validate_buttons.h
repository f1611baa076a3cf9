#pragma once
// The three "Validar xml" buttons (end-to-end test, sale and cancellation pages): which schema
// they use, and what they write into their command box, in which colour.

#include "core/call_text.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace documents {

// rgLayout's items by index: "0.06", "0.07" (selected at start), "0.08".
enum class Layout { V006 = 0, V007 = 1, V008 = 2 };

// "0.06", "0.07" or "0.08".
std::string_view layoutName(Layout layout);
// The layout of that name ("0.06", "0.07", "0.08"); nullopt for any other text.
std::optional<Layout> layoutNamed(std::string_view name);

// CFe: a sale document as a point of sale sends it; IssuedCFe: the signed CF-e a module returns;
// CFeCanc: a cancellation request.
enum class DocumentKind { CFe, CFeCanc, IssuedCFe };

// The schema file names looked for in Schemas/, in order: the program's own names first, then
// the names the tax authority publishes them under. An issued CF-e is checked against the schema
// of the tax authority's reception service (CfeRecepcao_000N.xsd), which declares it.
std::vector<std::string> schemaFileNames(Layout layout, DocumentKind kind);

// The first of those files present in programDir/Schemas (never the current folder).
std::optional<std::filesystem::path> findSchema(const std::filesystem::path& programDir,
                                                Layout layout, DocumentKind kind);

enum class BoxColour { Red, Green, WindowText };

// What a validate button does to its command box: clear it or not, then add the lines in order,
// and show the whole box in one text colour (Green is RGB 0, 128, 0; WindowText is the palette's).
struct ValidationBox {
    bool clear = false;
    core::Lines lines;
    BoxColour colour = BoxColour::Red;
    // Not empty when the schema could not be loaded: the lines then hold the progress line only,
    // and this text (libxml2's) goes to the standard error box.
    std::string error;
};

// fileName is the field's text as typed (UTF-8); programDir the folder of the executable.
ValidationBox validarXmlFimAFim(Layout layout, std::string_view fileName,
                                const std::filesystem::path& programDir); // BtnValidar
ValidationBox validarXmlVenda(Layout layout, std::string_view fileName,
                              const std::filesystem::path& programDir); // BtnValida_8
ValidationBox validarXmlCancelamento(Layout layout, bool checkCFe, std::string_view fileName,
                                     const std::filesystem::path& programDir); // BtnValida_9

enum class ValidateButton { BtnValidar, BtnValida_8, BtnValida_9 };

// The box after a validation ran with these findings: progress line, findings, and the success
// line in the window-text colour when there were none. checkCFe matters for BtnValida_9 only.
ValidationBox boxAfterValidation(ValidateButton button, Layout layout, bool checkCFe,
                                 const core::Lines& findings);

} // namespace documents
