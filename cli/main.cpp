// tarvik: the command-line front end. Runs one module operation, or validates one document,
// exactly as the window's page would, and prints what the page shows.

#include "cli/run.h"
#include "settings/program_info.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto folder = settings::runningExecutable(argc > 0 ? argv[0] : nullptr).parent_path();
    return cli::run(args, folder, std::cout, std::cerr);
}
