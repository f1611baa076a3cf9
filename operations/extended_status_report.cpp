#include "operations/extended_status_report.h"

#include "access/integrador_answer.h"
#include "core/answer_cuts.h"
#include "core/catalogue.h"
#include "core/lines.h"
#include "core/status_fields.h"
#include "core/text.h"
#include "operations/status_layout.h"
#include "operations/uf_table.h"
#include "xml/xml_format.h"

#include <array>
#include <exception>

namespace operations {
namespace {

// Labels of the answer fields 5 to 57.
constexpr std::array<std::string_view, 53> labels = {"Número de Série",
                                                     "Tipo de Rede",
                                                     "IP",
                                                     "MAC",
                                                     "Máscara",
                                                     "Gateway",
                                                     "DNS Primário",
                                                     "DNS Secundário",
                                                     "Estado da Rede",
                                                     "Nível Bateria",
                                                     "Memória Total",
                                                     "Memória Usada",
                                                     "Horário Atual",
                                                     "Versão do SB",
                                                     "Versão do Layout",
                                                     "Último CFe emitido",
                                                     "Prim. CFe em memória",
                                                     "Último CFe em memória",
                                                     "Horário do última transm.",
                                                     "Horário da ùltima comunic.",
                                                     "Data de emissão do Cert.",
                                                     "Data do vecto do Cert.",
                                                     "Estado",
                                                     "Ambiente",
                                                     "UF",
                                                     "Nível da Bateria Externa",
                                                     "Alimentação",
                                                     "Canal de Comunic. em uso",
                                                     "Configuração da rede 1",
                                                     "Configuração da rede 2",
                                                     "Configuração da rede 3",
                                                     "Configuração da rede 4",
                                                     "Operadora do Celular",
                                                     "Tecnologia da rede Celular",
                                                     "Identificação do SIMCARD 1",
                                                     "Assinante do SIMCARD 1",
                                                     "Identificação do SIMCARD 2",
                                                     "Assinante do SIMCARD 2",
                                                     "Horário da Violação",
                                                     "Horário do Impacto",
                                                     "MAC da interface ETHERNET",
                                                     "MAC da interface WIFI",
                                                     "IMEI do Modem",
                                                     "Posição obtida via GPS",
                                                     "Horário da leitura via GPS",
                                                     "Erro da posição (GPS)",
                                                     "Posição obtida via LBS",
                                                     "Horário da leitura via LBS",
                                                     "Erro da posição (LBS)",
                                                     "Qde de satelites de GPS",
                                                     "Qualidade do sinal Celular",
                                                     "Redes WIFI disponíveis",
                                                     "Cupons pendentes de envio"};

constexpr std::size_t firstField = 5;
constexpr std::size_t labelWidth = 27;
constexpr std::string_view noTime = "00000000000000";

struct Mapping {
    std::string_view field;
    std::string_view shown;
};

constexpr Mapping ambientes[] = {{"1", "PRODUÇÃO"}, {"2", "TESTES"}};
constexpr Mapping baterias[] = {
    {"0", "REMOVIDA - FALHA"}, {"1", "BAIXO"}, {"2", "MÉDIO"}, {"3", "ALTO"}};
constexpr Mapping alimentacoes[] = {{"0", "ERRO NA LEITURA DA FONTE DE ALIMENTAÇÃO"},
                                    {"1", "FONTE EXTERNA"},
                                    {"2", "BATERIA"},
                                    {"3", "USB"}};
constexpr Mapping canais[] = {{"ETHE", "ETHERNET"}, {"WIFI", "WIFI"}};

template <std::size_t N> std::string mapped(const Mapping (&table)[N], std::string_view field) {
    for (const auto& m : table)
        if (m.field == field)
            return std::string(m.shown);
    return std::string(field);
}

// Characters `from` (counted from 1) to `from + count - 1`; empty where the field is shorter.
std::string_view piece(std::string_view field, std::size_t from, std::size_t count) {
    return from <= field.size() ? field.substr(from - 1, count) : std::string_view{};
}

// dd/mm/yyyy from yyyymmdd.
std::string date(std::string_view field) {
    std::string shown(piece(field, 7, 2));
    shown += '/';
    shown += piece(field, 5, 2);
    shown += '/';
    shown += piece(field, 1, 4);
    return shown;
}

// dd/mm/yyyy - hh:mm:ss from yyyymmddhhmmss.
std::string dateTime(std::string_view field) {
    std::string shown = date(field);
    shown += " - ";
    shown += piece(field, 9, 2);
    shown += ':';
    shown += piece(field, 11, 2);
    shown += ':';
    shown += piece(field, 13, 2);
    return shown;
}

// "CE (23)" for 23, "00 (20)" for a code no unit has; nothing when the field is not a number.
std::optional<std::string> uf(std::string_view field) {
    const auto code = core::decimalValue(field);
    if (!code)
        return std::nullopt;
    const auto sigla = ufByCode(*code);
    if (!sigla)
        return core::unknownCode(field);
    return std::string(*sigla) + " (" + core::trimmed(field) + ")";
}

class SectionWriter {
public:
    SectionWriter(core::Lines& lines, const NetworkXmlLayout& xml) : lines_(lines), xml_(xml) {}

    // Writes field n by its rule; false when the field cannot be shown and the report ends.
    bool write(std::size_t n, std::string_view field) {
        switch (n) {
        case 17:
        case 23:
        case 24:
        case 49:
        case 52:
            return line(n, dateTime(field));
        case 43:
            return line(n, dateTime(field.empty() ? noTime : field));
        case 44:
            return field.empty() || field == noTime || line(n, dateTime(field));
        case 25:
        case 26:
            return line(n, date(field));
        case 27:
            return field == "10" ? line(n, "VIOLADO")
                                 : lineIfShown(n, core::operationStateName(field));
        case 28:
            return line(n, mapped(ambientes, field));
        case 29:
            return lineIfShown(n, uf(field));
        case 30:
            return line(n, mapped(baterias, field));
        case 31:
            return line(n, mapped(alimentacoes, field));
        case 32:
            return line(n, mapped(canais, field));
        case 33:
        case 34:
        case 35:
        case 36:
            return field == "NA" || configuration(n, field);
        case 41:
        case 42:
            return field.empty() || line(n, field);
        case 46:
            return field == "00:00:00:00:00:00" || line(n, field);
        default:
            return line(n, field);
        }
    }

private:
    static std::string label(std::size_t n) {
        const std::size_t index = n - firstField;
        return index < labels.size() ? std::string(labels[index]) : extraFieldLabel(n);
    }

    // The field line of field n; the value is decoded as UTF-8.
    bool line(std::size_t n, std::string_view value) {
        core::appendLines(lines_, fieldLine(label(n), labelWidth, core::decodeUtf8(value)));
        return true;
    }

    // The field line when there is a value to show; false ends the report.
    bool lineIfShown(std::size_t n, const std::optional<std::string>& value) {
        return value && line(n, *value);
    }

    // The label with no value, a line holding one blank, then the configuration laid out as XML.
    bool configuration(std::size_t n, std::string_view field) {
        line(n, "");
        lines_.emplace_back(" ");
        std::string laidOut;
        try {
            laidOut = xml_.formatXmlString(xml_.retiraEscapes(field));
        } catch (const std::exception&) {
            return false;
        }
        core::appendLines(lines_, laidOut);
        return true;
    }

    core::Lines& lines_;
    const NetworkXmlLayout& xml_;
};

} // namespace

core::Lines extendedStatusReport(std::string_view answer, const NetworkXmlLayout& xml) {
    core::Lines lines;
    if (core::answerCode(answer) !=
        core::operationByName("ConsultarStatusOperacionalMFE")->successCode)
        return lines;
    lines.emplace_back();
    lines.emplace_back(statusHeading);
    // Only a "|" ends a field: a configuration may span several lines.
    SectionWriter writer(lines, xml);
    std::size_t n = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < answer.size(); ++i) {
        if (answer[i] != '|')
            continue;
        if (n >= firstField && !writer.write(n, answer.substr(start, i - start)))
            break;
        ++n;
        start = i + 1;
    }
    return lines;
}

core::Lines extendedStatusPageReport(std::string_view answer) {
    return extendedStatusReport(answer, {backend::RetiraEscapes, xml::FormatXMLString});
}

} // namespace operations
