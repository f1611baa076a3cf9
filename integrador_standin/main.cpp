// integrador_standin: plays the Integrador on this machine. It watches the Input folder, hands
// each request to the module library beside it and writes the answer into Output.
//
//   integrador_standin [--dir ROOT] [--library FILE] [--delay MS] [--error TEXT]
//                      [--once] [--timeout SECONDS]
//
// ROOT defaults to the program's own rule (TARVIK_INTEGRADOR_DIR, else the folder Integrador
// among the program's files); FILE to the program's module library. --delay waits before each
// answer, --error answers every request with that error text, --once exits after the first
// answer and --timeout after that many seconds.

#include "access/folder_watch.h"
#include "cli/console.h"
#include "core/path_text.h"
#include "integrador_standin/service.h"
#include "settings/program_folders.h"
#include "settings/program_info.h"

#include <charconv>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Options {
    std::optional<fs::path> root;
    std::optional<fs::path> library;
    std::chrono::milliseconds delay{0};
    std::optional<std::string> error;
    bool once = false;
    std::optional<std::chrono::seconds> timeout;
};

bool number(std::string_view text, long& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size() && value >= 0;
}

// The arguments come as UTF-8 (on Windows read from the UTF-16 command line, so an error text or
// folder with accents arrives whole rather than in the ANSI code page).
std::optional<Options> parse(const std::vector<std::string>& args, std::string& error) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view name = args[i];
        if (name == "--once") {
            options.once = true;
            continue;
        }
        if (i + 1 == args.size()) {
            error = "unknown option or missing value: " + std::string(name);
            return std::nullopt;
        }
        const std::string_view value = args[++i];
        long n = 0;
        if (name == "--dir")
            options.root = core::pathFromUtf8(value);
        else if (name == "--library")
            options.library = core::pathFromUtf8(value);
        else if (name == "--error")
            options.error = std::string(value);
        else if (name == "--delay" && number(value, n))
            options.delay = std::chrono::milliseconds(n);
        else if (name == "--timeout" && number(value, n))
            options.timeout = std::chrono::seconds(n);
        else {
            error = "bad option: " + std::string(name) + " " + std::string(value);
            return std::nullopt;
        }
    }
    return options;
}

} // namespace

int main(int argc, char** argv) {
    std::string error;
    const cli::Utf8ConsoleOutput console;
    const auto options = parse(cli::utf8Arguments(argc, argv), error);
    if (!options) {
        std::cerr << "integrador_standin: " << error << "\n"
                  << "usage: integrador_standin [--dir ROOT] [--library FILE] [--delay MS] "
                     "[--error TEXT] [--once] [--timeout SECONDS]\n";
        return 2;
    }
    const auto program = settings::programFolders(settings::runningExecutable(argv[0]));
    settings::pointEmulatorAtUserState(program);
    const auto folders = options->root ? backend::integradorFoldersUnder(*options->root)
                                       : backend::integradorFolders(program.data);
    std::error_code ec;
    fs::create_directories(folders.input, ec);
    fs::create_directories(folders.output, ec);

    const fs::path libraryPath = options->library.value_or(program.modules / TARVIK_LIBRARY_NAME);
    const std::string libraryText = core::utf8FromPath(libraryPath);
    auto library = backend::DriverLibrary::load(libraryText, error);
    if (!library) {
        error = "Biblioteca " + libraryText + " não carregada: " + error;
        std::cerr << "integrador_standin: " << error << "\n";
    }
    std::string ignored;
    auto extras = library ? standin::ExtraFunctions::load(libraryText, ignored) : nullptr;
    standin::Service service({folders, options->delay, options->error}, std::move(library), error,
                             std::move(extras));

    using Clock = backend::FolderWatch::Clock;
    const auto deadline =
        options->timeout ? Clock::now() + *options->timeout : Clock::time_point::max();
    backend::FolderWatch watch;
    watch.watch(folders.input);
    std::cout << "integrador_standin: answering requests in " << core::utf8FromPath(folders.input)
              << std::endl;
    while (Clock::now() < deadline) {
        if (service.answerPending() > 0 && options->once)
            break;
        watch.waitForChange(deadline);
    }
    return 0;
}
