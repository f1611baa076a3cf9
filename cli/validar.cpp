#include "cli/validar.h"

#include "cli/global_options.h"
#include "cli/run.h"
#include "core/path_text.h"

#include <iterator>
#include <system_error>
#include <vector>

namespace cli {
namespace {

// The schema files looked for, when none of them is there: the box says only that the XSD was
// not found, the command line says where it looked.
std::string schemaLookedFor(const std::filesystem::path& programFolder, documents::Layout layout,
                            documents::DocumentKind kind) {
    std::string places;
    for (const std::string& name : documents::schemaFileNames(layout, kind))
        places += (places.empty() ? " Procurado em: " : ", ") +
                  core::utf8FromPath(programFolder / "Schemas" / core::pathFromUtf8(name));
    return places;
}

constexpr Option cfe{"--cfe", "", "o ARQUIVO é um CF-e (como \"Validar xml\" na página de venda)"};
constexpr Option canc{"--canc", "", "o ARQUIVO é um cancelamento (como na página de cancelamento)"};

std::vector<const Option*> validarOptions() {
    std::vector<const Option*> options(std::begin(global::all), std::end(global::all));
    options.push_back(&cfe);
    options.push_back(&canc);
    return options;
}

} // namespace

void refuseModuleOptions(const CommandLine& line, std::string_view command) {
    for (const Option* unused :
         {&global::dll, &global::integrador, &global::espera, &global::analisar})
        if (line.has(unused->name))
            throw UsageError(std::string(command) + " não usa " + std::string(unused->name));
}

documents::Layout chosenLayout(const CommandLine& line) {
    const std::string name = line.value(global::layout.name).value_or("0.07");
    if (const auto layout = documents::layoutNamed(name))
        return *layout;
    throw UsageError("layout desconhecido: " + name + " (use 0.06, 0.07 ou 0.08)");
}

void printValidarHelp(std::ostream& out, const settings::ProgramFolders& folders) {
    out << "Uso: tarvik [--layout VERSAO] [--json] validar (--cfe | --canc) ARQUIVO\n"
           "\n"
           "Valida o XML contra o XSD do layout e escreve o mesmo que o botão \"Validar xml\"\n"
           "escreve na página. Os XSD são procurados na pasta\n  "
        << core::utf8FromPath(folders.data / "Schemas")
        << "\n"
           "\n"
           "  --cfe                  "
        << cfe.help << "\n  --canc                 " << canc.help
        << "\n"
           "  --layout VERSAO        0.06, 0.07 (padrão) ou 0.08\n"
           "\n"
           "Situação de saída:\n"
           "  0  o XML é válido\n"
           "  1  o XML não é válido (ou não é XML bem formado)\n"
           "  2  uso errado, arquivo ou XSD não encontrado, XSD que não carrega\n";
}

int runValidar(const Output& o, std::span<const std::string> args,
               const settings::ProgramFolders& folders) {
    const auto options = validarOptions();
    const CommandLine line(args, options);
    if (line.has(global::help.name)) {
        printValidarHelp(o.out, folders);
        return exitSuccess;
    }
    refuseModuleOptions(line, validarCommand);
    if (line.has(cfe.name) == line.has(canc.name))
        throw UsageError("validar pede --cfe ou --canc");
    if (line.words().size() != 2)
        throw UsageError("validar pede um ARQUIVO");
    const documents::Layout layout = chosenLayout(line);
    const std::string& file = line.words()[1];
    const bool isCfe = line.has(cfe.name);
    const documents::ValidationBox box =
        isCfe ? documents::validarXmlVenda(layout, file, folders.data)
              : documents::validarXmlCancelamento(layout, false, file, folders.data);

    // A box that ran the validation starts with its progress line and has a second line, the
    // success line or a finding; a single line is the missing file's or schema's message.
    int status = exitModuleError;
    std::string error = box.error;
    if (box.colour == documents::BoxColour::WindowText)
        status = exitSuccess;
    else if (!box.error.empty() || box.lines.size() == 1)
        status = exitBadUsage;
    if (error.empty() && status == exitBadUsage) {
        error = box.lines.front();
        const auto kind = isCfe ? documents::DocumentKind::CFe : documents::DocumentKind::CFeCanc;
        std::error_code ec;
        if (std::filesystem::is_regular_file(core::pathFromUtf8(file), ec) &&
            !documents::findSchema(folders.data, layout, kind))
            error += schemaLookedFor(folders.data, layout, kind);
    }

    if (o.json) {
        nlohmann::ordered_json j;
        j["validation"] = isCfe ? "CFe" : "CFeCanc";
        j["layout"] = documents::layoutName(layout);
        j["file"] = file;
        j["lines"] = box.lines;
        j["valid"] = status == exitSuccess;
        j["exit"] = status;
        j["error"] = error.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(error);
        printJson(o.out, j);
    } else {
        printLines(o.out, box.lines);
    }
    if (status == exitBadUsage)
        printError(o, error);
    return status;
}

} // namespace cli
