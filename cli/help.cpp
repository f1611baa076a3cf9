#include "cli/help.h"

#include "access/library_choice.h"
#include "cli/global_options.h"
#include "core/path_text.h"

#include <iomanip>

namespace cli {
namespace {

// char * Name( int numeroSessao , char * codigoDeAtivacao );
std::string declaration(const core::Operation& operation) {
    std::string text = "char * " + std::string(operation.name) + "(";
    const char* separator = " ";
    for (const auto& p : operation.params) {
        text += separator;
        text += p.type == core::ParamType::Int ? "int " : "char * ";
        text += p.name;
        separator = " , ";
    }
    return text + " );";
}

constexpr const char* exitStatuses =
    "Situação de saída:\n"
    "  0  o módulo respondeu com o código de sucesso da operação\n"
    "  1  o módulo respondeu com outro código\n"
    "  2  uso errado ou dados de entrada inválidos\n"
    "  3  o módulo não pôde ser alcançado: biblioteca ausente ou não carregável, biblioteca\n"
    "     encerrada durante a chamada, chamada cancelada, pastas do Integrador ausentes,\n"
    "     tempo de espera esgotado\n"
    "  4  o módulo respondeu com o código de sucesso, mas o documento de retorno (CF-e,\n"
    "     CFeCanc, log com --saida) não pôde ser lido ou salvo; o motivo vai para a saída\n"
    "     de erros. Com --json, \"saved\" é true quando o documento foi salvo, false (com o\n"
    "     motivo em \"error\") quando não, e null quando a resposta não trouxe documento\n";

} // namespace

void printOptions(std::span<const Option* const> options, std::ostream& out) {
    for (const Option* o : options) {
        std::string head = std::string(o->name);
        if (!o->value.empty())
            head += " " + std::string(o->value);
        out << "  " << std::left << std::setw(22) << head << " " << o->help << "\n";
    }
}

void printHelp(std::ostream& out, const settings::ProgramFolders& folders) {
    out << "Uso: tarvik [--dll ARQUIVO | --integrador PASTA] [--json] OPERACAO [parâmetros]\n"
           "     tarvik OPERACAO --analisar [parâmetros]\n"
           "     tarvik [--layout VERSAO] [--json] validar (--cfe | --canc) ARQUIVO\n"
           "     tarvik [--layout VERSAO] [--json] gerar-cancelamento --cfe ARQUIVO\n"
           "     tarvik [--json] extrato --cfe ARQUIVO [--cancelamento ARQUIVO] --pdf ARQUIVO\n"
           "     tarvik [--json] historico [exportar --saida PACOTE.zip] [filtros]\n"
           "     tarvik OPERACAO --help\n"
           "\n"
           "Executa uma operação do módulo fiscal (SAT ou MF-e) como o botão \"Executar\" da sua\n"
           "página: escreve a chamada (e, pelo Integrador, o XML da requisição) e depois a\n"
           "resposta, crua e no relatório da página. Sem --dll nem --integrador, usa a forma de\n"
           "acesso escolhida na janela, guardada em\n  "
        << core::utf8FromPath(folders.iniFile) << "\ne a biblioteca do módulo\n  "
        << core::utf8FromPath(
               backend::chosenLibrary(core::utf8FromPath(folders.iniFile), folders.modules).file)
        << "\nOs documentos devolvidos e gerados (Retornos, Para_Cancelar, Temp) e os XSD\n"
           "(Schemas) ficam em\n  "
        << core::utf8FromPath(folders.data)
        << "\n"
           "\n"
           "Opções gerais:\n";
    printOptions(global::all, out);
    out << "\nOperações:\n";
    for (const core::Operation* operation : core::panelOrder()) {
        const OperationEntry* entry = entryNamed(operation->name);
        out << "  " << entry->operation.name << "\n";
    }
    out << "  validar" << std::string(25, ' ') << "valida um XML de CF-e ou de cancelamento\n"
        << "  gerar-cancelamento" << std::string(14, ' ')
        << "gera o CFeCanc de um CF-e emitido em Para_Cancelar\n"
#ifdef TARVIK_RECEIPT_DRAWING
        << "  extrato" << std::string(25, ' ') << "gera o extrato (cupom do consumidor) em PDF\n"
#else
        << "  extrato" << std::string(25, ' ')
        << "não disponível nesta compilação para Windows (sem cairo e zint)\n"
#endif
        << "  historico" << std::string(23, ' ')
        << "mostra ou exporta as chamadas guardadas (veja historico --help)\n"
        << "\n"
        << exitStatuses;
}

void printOperationHelp(const OperationEntry& entry, std::ostream& out) {
    const core::Operation& operation = entry.operation;
    out << "Uso: tarvik [opções gerais] " << operation.name;
    for (const Option& o : entry.options) {
        out << " [" << o.name;
        if (!o.value.empty())
            out << " " << o.value;
        out << "]";
    }
    out << "\n\n" << declaration(operation) << "\n\n";
    if (!entry.options.empty()) {
        out << "Parâmetros:\n";
        printOptions(entry.optionList(), out);
        out << "\n";
    }
    out << "Um parâmetro omitido vale como o campo vazio na janela.\n"
        << "Chamada pelo Integrador: método " << operation.integradorMethod << ", espera de até "
        << std::chrono::duration_cast<std::chrono::seconds>(operation.waitLimit).count()
        << " s.\n\n"
        << exitStatuses;
}

} // namespace cli
