#pragma once
// CancelarUltimaVenda: the cancellation of the last sale, sent from a ready CFeCanc file or from
// the CFeCanc generated out of the sale's issued CF-e; its analysis, call and report, and the
// returned cancellation CF-e saved in Retornos.

#include "core/activation_code.h"
#include "core/operation_definition.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace documents {

inline constexpr core::InputField cancelFileField{
    "arquivo", "--arquivo", "ARQUIVO", "o CFeCanc a enviar, como no campo \"XML de Cancelam.:\""};
inline constexpr core::InputField issuedCFeField{
    "cfe", "--cfe", "ARQUIVO",
    "o CF-e emitido da venda (Resp_...): o CFeCanc é gerado dele na pasta Temp, como faz "
    "\"Gerar CFeCanc.\", e enviado"};
inline constexpr core::InputField cancelFields[] = {core::codigoField, cancelFileField,
                                                    issuedCFeField};

// Set by the cancellation page, whose "Gerar CFeCanc." button generates the CFeCanc of an issued
// CF-e: "Mostrar" then sends the one generated, and refuses while there is none. Without it (the
// command line), "Mostrar" generates it from the issued CF-e first.
inline constexpr std::string_view generatedByButtonKey = "geradoPeloBotao";

inline constexpr std::string_view notGeneratedYet = "Arquivo de CFeCanc ainda não foi gerado";
inline constexpr std::string_view cancellationSuccess = "07000";

core::OperationLogic bindCancelarUltimaVenda(const core::Operation& operation,
                                             const core::Inputs& inputs,
                                             const core::OperationContext& context);

// Where the returned cancellation CF-e of a cancellation sent from the field's file is saved:
// programFolder/Retornos/RespCanc_<file-name part of the field's text>.
std::filesystem::path returnedCancellationFile(std::string_view fieldText,
                                               const std::filesystem::path& programFolder);

} // namespace documents
