// tarvik: the command-line front end. Runs one module operation, or validates one document,
// exactly as the window's page would, and prints what the page shows.

#include "cli/console.h"
#include "cli/run.h"
#include "settings/program_folders.h"
#include "settings/program_info.h"

#include <iostream>

int main(int argc, char** argv) {
    const cli::Utf8ConsoleOutput console;
    const auto folders =
        settings::programFolders(settings::runningExecutable(argc > 0 ? argv[0] : nullptr));
    settings::pointEmulatorAtUserState(folders);
    return cli::run(cli::utf8Arguments(argc, argv), folders, std::cout, std::cerr);
}
