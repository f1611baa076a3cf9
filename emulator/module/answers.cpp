#include "emulator/module/answers.h"

#include <array>
#include <cstdio>
#include <utility>

namespace emulator {
namespace {

struct OperationInfo {
    std::string_view name;
    std::string_view function; // the first two digits of its answer codes
};

constexpr std::array<OperationInfo, 18> operations{{
    {"ConsultarSAT", "08"},
    {"ConfigurarInterfaceDeRede", "12"},
    {"AtivarSAT", "04"},
    {"AssociarAssinatura", "13"},
    {"TesteFimAFim", "09"},
    {"ConsultarStatusOperacional", "10"},
    {"TrocarCodigoDeAtivacao", "18"},
    {"ExtrairLogs", "15"},
    {"EnviarDadosVenda", "06"},
    {"CancelarUltimaVenda", "07"},
    {"ConsultarNumeroSessao", "11"},
    {"BloquearSAT", "16"},
    {"DesbloquearSAT", "17"},
    {"AtualizarSoftwareSAT", "14"},
    {"ConsultarStatusOperacionalMFE", "10"},
    {"ConfigurarInterfaceDeRedeMFE", "12"},
    {"ComunicarCertificadoICPBRASIL", "05"},
    {"ConsultarUltimaSessaoFiscal", "19"},
}};

// The texts of the answers: the messages of particular codes, as devices write them; the
// results 001, 097, 098 and 099 share a message across operations unless listed here.
constexpr std::pair<std::string_view, std::string_view> messages[] = {
    {"04000", "Ativado corretamente"},
    {"04001", "Erro na criação do certificado"},
    {"04002", "SEFAZ não reconhece este SAT (CNPJ inválido)"},
    {"04003", "SAT já ativado"},
    {"04005", "Erro de comunicação com a SEFAZ"},
    {"04006", "CSR ICP-BRASIL criado com sucesso"},
    {"04099", "Erro desconhecido na ativação"},
    {"05000", "Certificado transmitido com sucesso"},
    {"05002", "Erro de comunicação com a SEFAZ"},
    {"05003", "Certificado inválido"},
    {"06000", "Emitido com sucesso + conteúdo notas"},
    {"06002", "SAT ainda não ativado"},
    {"06003", "SAT não vinculado ao AC"},
    {"06004", "Vinculação do AC não confere"},
    {"06005", "Tamanho do CF-e-SAT superior a 1.500KB"},
    {"06006", "SAT bloqueado pelo contribuinte"},
    {"06007", "SAT bloqueado pela SEFAZ"},
    {"06008", "SAT bloqueado por falta de comunicação"},
    {"06010", "Erro de validação do conteúdo"},
    {"07000", "Cupom cancelado com sucesso + conteúdo CF-e-SAT cancelado"},
    {"07002", "Cupom inválido"},
    {"07003", "SAT bloqueado pelo contribuinte"},
    {"07004", "SAT bloqueado pela SEFAZ"},
    {"07005", "SAT bloqueado por falta de comunicação"},
    {"07007", "Erro de validação do conteúdo"},
    {"08000", "SAT em Operação"},
    {"09000", "Emitido com sucesso"},
    {"09002", "SAT ainda não ativado"},
    {"10000", "Resposta com Sucesso"},
    {"11002", "SAT ainda não ativado"},
    {"11003", "Sessão não existe"},
    {"12000", "Rede configurada com sucesso"},
    {"12002", "Dados fora do padrão a ser informado"},
    {"13000", "Assinatura do AC registrada"},
    {"13002", "Erro de comunicação com a SEFAZ"},
    {"13003", "Assinatura fora do padrão especificado"},
    {"13004", "CNPJ da Software House + CNPJ do emitente assinado difere do CNPJvalue"},
    {"13007", "CNPJ do contribuinte difere daquele constante da parametrização de uso"},
    {"14000", "Software atualizado com sucesso"},
    {"15000", "Transferência completa"},
    {"16000", "Equipamento SAT bloqueado com sucesso"},
    {"16002", "Equipamento SAT já está bloqueado"},
    {"16003", "Erro de comunicação com a SEFAZ"},
    {"17000", "Equipamento SAT desbloqueado com sucesso"},
    {"17003", "SAT bloqueado pela SEFAZ"},
    {"17004", "Erro de comunicação com a SEFAZ"},
    {"17005", "SAT já desbloqueado"},
    {"17006", "SAT com bloqueio autônomo"},
    {"17007", "SAT bloqueado para desativação"},
    {"18000", "Código de ativação alterado com sucesso"},
    {"18002", "Código de ativação de emergência incorreto"},
    {"19002", "SAT ainda não ativado"},
    {"19003", "Não existe sessão fiscal"},
};

constexpr std::pair<std::string_view, std::string_view> sharedMessages[] = {
    {"001", "Código de ativação inválido"},
    {"097", "Número de sessão inválido"},
    {"098", "SAT em processamento. Tente novamente."},
    {"099", "Erro desconhecido"},
};

// Length of the valid UTF-8 sequence at the start of `text`, or 0.
std::size_t utf8Sequence(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = lead < 0x80                    ? 1
                         : lead >= 0xC2 && lead <= 0xDF ? 2
                         : lead >= 0xE0 && lead <= 0xEF ? 3
                         : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                        : 0;
    if (length == 0 || length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
    }
    const unsigned second = length > 1 ? byte(1) : 0x80;
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
        (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F))
        return 0;
    return length;
}

} // namespace

std::string_view operationName(Op op) {
    return operations[static_cast<std::size_t>(op)].name;
}

std::string answerCode(Op op, std::string_view result) {
    return std::string(operations[static_cast<std::size_t>(op)].function) + std::string(result);
}

std::string_view standardMessage(std::string_view code) {
    for (const auto& [number, message] : messages) {
        if (number == code)
            return message;
    }
    for (const auto& [result, message] : sharedMessages) {
        if (code.size() == 5 && code.substr(2) == result)
            return message;
    }
    return {};
}

std::string answerField(std::string_view text) {
    std::string field;
    field.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (static_cast<unsigned char>(c) < 0x80) {
            field += c == '|' ? '/' : c == '\r' || c == '\n' || c == '\t' ? ' ' : c;
            ++i;
            continue;
        }
        const std::size_t length = utf8Sequence(text.substr(i));
        if (length == 0) {
            field += '?';
            ++i;
        } else {
            field.append(text.substr(i, length));
            i += length;
        }
    }
    return field;
}

AnswerBuilder::AnswerBuilder(int session, std::string_view code) : code_(code) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%06d", session);
    text_ = digits;
    add(code);
}

AnswerBuilder& AnswerBuilder::add(std::string_view field) {
    text_ += '|';
    text_ += answerField(field);
    return *this;
}

Answer standardAnswer(int session, std::string_view code, std::string_view detail) {
    return AnswerBuilder(session, code).add(standardMessage(code)).add("").add(detail).done();
}

Answer documentErrorAnswer(int session, std::string_view code, std::string_view detail) {
    return AnswerBuilder(session, code)
        .add("0000")
        .add(standardMessage(code))
        .add("")
        .add(detail)
        .done();
}

Answer failureAnswer(Op op, int session, std::string_view result, std::string_view detail) {
    const std::string code = answerCode(op, result);
    return op == Op::EnviarDadosVenda || op == Op::CancelarUltimaVenda
               ? documentErrorAnswer(session, code, detail)
               : standardAnswer(session, code, detail);
}

} // namespace emulator
