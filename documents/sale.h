#pragma once
// EnviarDadosVenda: a sale document read from the user's file goes to the module; the issued CF-e
// comes back in Base64, is reported and saved as Retornos/Resp_<file name>.

#include "core/activation_code.h"
#include "core/operation_definition.h"
#include "documents/document_operation.h"

#include <filesystem>
#include <string_view>

namespace documents {

// The sale document's file, as typed in "CFe a Transmitir:" (the pages' file fields share it).
inline constexpr core::InputField cfeFileField{
    "arquivo", "--arquivo", "ARQUIVO",
    "arquivo XML do CFe a transmitir, como no campo \"CFe a Transmitir:\""};

inline constexpr core::InputField saleFields[] = {core::codigoField, cfeFileField};

// Page 8: "Analisar" checks the code and that the file exists; "Mostrar" reads the file with
// LeArquivo (no file: an empty document, no message); the report writes the issued CF-e and saves
// it.
core::OperationLogic bindEnviarDadosVenda(const core::Operation& operation,
                                          const core::Inputs& inputs,
                                          const core::OperationContext& context);

// Where the issued CF-e of a sale of this file is saved: Retornos/Resp_ + the file-name part of
// the trimmed field text.
std::filesystem::path saleAnswerFile(const std::filesystem::path& programFolder,
                                     std::string_view typedFileName);

// The lines after the raw answer line of a sale, nothing unless the code is "06000": the issued
// CF-e's fields 7 to 11, its Base64 text and its lines; then the CF-e saved at `target`. Fields
// are counted by "|" (documentFields). An answer with fewer fields gets a line saying how many
// came and which are missing; its CF-e is still shown and saved when field 6 is there and decodes.
void saleReport(std::string_view answer, const std::filesystem::path& target,
                DocumentOutcome& outcome, core::Lines& lines);

} // namespace documents
