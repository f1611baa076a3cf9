#pragma once
// What the page workflow writes, as pure functions: the answer box after "Executar".

#include "core/call_text.h"

#include <string_view>

namespace core {

inline constexpr std::string_view integradorAnswerHeader =
    "---- Resposta XML Integrador -------------------------";
inline constexpr std::string_view integradorAnswerFooter =
    "------------------------------------------------------";

// Said under the answer of a call the user cancelled: that answer is the module's busy answer,
// which the module itself never sent.
inline constexpr std::string_view cancelledCallLine =
    "Chamada cancelada pelo usuário: nenhuma resposta veio do módulo.";

// The answer box: in Integrador mode with an answer document, the Integrador answer block
// (header, the document as laid out for display, footer); then the answer decoded as UTF-8 as
// one raw line; then the page's report.
Lines answerBox(bool integradorMode, std::string_view answerDocumentForDisplay,
                std::string_view answer, const Lines& report);

} // namespace core
