#pragma once
// The Integrador request document of an operation in its three forms: the file handed to the
// Integrador, the preview "Mostrar" appends to the command box, and the template of the page's
// "XML Integrador" tab.

#include "core/arguments.h"
#include "core/catalogue.h"
#include "core/lines.h"
#include "core/shared_state.h"
#include "core/time_of_day.h"

#include <string>
#include <string_view>
#include <vector>

namespace backend {

// A new request identifier: eight digits, 00000001 to 99999998, drawn from the time of day.
std::string GeraIdentificador(const core::TimeOfDay& time);

// prefix + identifier + ".xml", e.g. "EnviarDadosVenda00012345.xml".
std::string requestFileName(const core::Operation& operation, std::string_view identificador);

// The request file's bytes: UTF-8 without byte-order mark, CR LF after every line. Integers in
// decimal, text values as XML text, documents inside CDATA; nrDocumento is "01".
std::string requestDocument(const core::Operation& operation, std::string_view identificador,
                            const core::Arguments& arguments);

// The lines "Mostrar" appends after the call text in Integrador mode: the empty line(s), the
// header, an empty line and the request as shown (session number as six digits, each value
// as its `shown` text, escaped as in the file). A value that spans lines gives several lines.
core::Lines integradorPreview(const core::Operation& operation, std::string_view identificador,
                              std::string_view sessionNumberText, const core::Arguments& arguments);

// "Mostrar" in Integrador mode: draws a new request identifier at `time`, keeps it in `state` as
// the current one, and returns the preview with it and the state's session number.
core::Lines previewWithNewIdentifier(core::SharedState& state, const core::TimeOfDay& time,
                                     const core::Operation& operation,
                                     const core::Arguments& arguments);

struct TemplateLine {
    std::string text;
    bool placeholder; // shown in red: the identifier's and each parameter's <Valor> line
};

// The "XML Integrador" tab: the request with placeholder words instead of values.
std::vector<TemplateLine> integradorTemplate(const core::Operation& operation);

} // namespace backend
