#pragma once
// Answer strings as modules write them: fields joined by "|", field 0 the session echoed with
// six digits, field 1 the five-digit code EEEEE (function + result), then the message.

#include <string>
#include <string_view>

namespace emulator {

// The eighteen operations of the driver library: the sixteen the workbench calls, and the
// ICP-Brasil certificate and last-fiscal-session calls that other SAT clients make.
enum class Op {
    ConsultarSAT,
    ConfigurarInterfaceDeRede,
    AtivarSAT,
    AssociarAssinatura,
    TesteFimAFim,
    ConsultarStatusOperacional,
    TrocarCodigoDeAtivacao,
    ExtrairLogs,
    EnviarDadosVenda,
    CancelarUltimaVenda,
    ConsultarNumeroSessao,
    BloquearSAT,
    DesbloquearSAT,
    AtualizarSoftwareSAT,
    ConsultarStatusOperacionalMFE,
    ConfigurarInterfaceDeRedeMFE,
    ComunicarCertificadoICPBRASIL,
    ConsultarUltimaSessaoFiscal,
};

std::string_view operationName(Op op);

// The operation's answer code with the given three-digit result ("06" + "010").
std::string answerCode(Op op, std::string_view result);

// The standard message of an answer code ("08000" → "SAT em Operação").
std::string_view standardMessage(std::string_view code);

// A field as it may stand in an answer: "|" becomes "/", line breaks and tabs become blanks,
// and bytes that are not UTF-8 become "?".
std::string answerField(std::string_view text);

struct Answer {
    std::string code;
    std::string text;
    std::string logNote; // why, for the module's log, when the answer does not say it
};

// Builds an answer field by field, starting with the six-digit session and the code.
class AnswerBuilder {
public:
    AnswerBuilder(int session, std::string_view code);
    AnswerBuilder& add(std::string_view field);
    Answer done() const { return {code_, text_, {}}; }

private:
    std::string code_;
    std::string text_;
};

// The default layout: session|code|message|cod|mensagemSEFAZ, with the code's standard message,
// an empty cod and the detail (often empty) as mensagemSEFAZ.
Answer standardAnswer(int session, std::string_view code, std::string_view detail = {});

// The error layout of the sale and the cancellation: session|code|CCCC|message|cod|mensagemSEFAZ,
// with CCCC "0000" (nothing to say about the document's content).
Answer documentErrorAnswer(int session, std::string_view code, std::string_view detail = {});

// The operation's answer with the given result ("097", "098", "099") in its own error layout:
// the sale and the cancellation carry CCCC, every other operation has the default layout.
Answer failureAnswer(Op op, int session, std::string_view result, std::string_view detail = {});

} // namespace emulator
