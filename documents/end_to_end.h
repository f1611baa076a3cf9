#pragma once
// TesteFimAFim: the module's end-to-end test. It sends the chosen sale file, or the built-in
// sample sale when no file is chosen, and saves the CF-e that comes back as
// Retornos/Resp_CFeFimAFim.xml.

#include "core/operation_definition.h"
#include "documents/document_operation.h"
#include "documents/sale.h"

#include <filesystem>
#include <string_view>

namespace documents {

// The test file is optional: without it the sample sale goes out.
inline constexpr core::InputField testFileField{
    cfeFileField.key, cfeFileField.option, cfeFileField.valueName,
    "arquivo XML do CFe de teste (campo \"CFe a Transmitir:\"); sem ele vai o CFe de exemplo"};

inline constexpr core::InputField endToEndFields[] = {core::codigoField, testFileField};

// Page 4: "Analisar" checks the code only; "Mostrar" reads the file with LeArquivo when it exists,
// and otherwise queues "Usando XML FimAFim Padrão" and sends the sample sale.
core::OperationLogic bindTesteFimAFim(const core::Operation& operation, const core::Inputs& inputs,
                                      const core::OperationContext& context);

// Retornos/Resp_CFeFimAFim.xml: every successful test replaces it, whatever file was sent.
std::filesystem::path endToEndAnswerFile(const std::filesystem::path& programFolder);

// The lines after the raw answer line of a test, nothing unless the code is "09000": the module's
// message (field 2) is queued for a message box; the returned CF-e (fields 5 up to the fourth
// from the end, counted by "|") is shown line by line and saved at `target`. An answer with fewer
// than 9 fields saves nothing and keeps the last good file.
void endToEndReport(std::string_view answer, const std::filesystem::path& target,
                    DocumentOutcome& outcome, core::Lines& lines);

} // namespace documents
