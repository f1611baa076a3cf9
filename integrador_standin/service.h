#pragma once
// The stand-in's work: every request file in the Integrador's Input folder is carried to the
// module library and answered by a file of the same name in Output; then it is deleted.

#include "access/driver_library.h"
#include "access/integrador_folders.h"
#include "integrador_standin/extra_functions.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace standin {

struct Settings {
    backend::IntegradorFolders folders;
    std::chrono::milliseconds delay{0};     // waited before each answer is written
    std::optional<std::string> forcedError; // when set, every request gets this error answer
};

class Service {
public:
    // `library` may be null: every request is then answered with `libraryError`. `extras`
    // carries the methods beyond the sixteen; without it they are answered with `libraryError`.
    Service(Settings settings, std::unique_ptr<backend::DriverLibrary> library,
            std::string libraryError, std::unique_ptr<ExtraFunctions> extras = nullptr);

    // Answers every request now in Input; returns how many were answered. A request that cannot
    // be read or does not parse is left for a later pass while it may still be being written
    // (changed within the last second), and then answered with an error.
    int answerPending();

    // The answer file for a request file's bytes.
    std::string answerFor(std::string_view request);

private:
    Settings settings_;
    std::unique_ptr<backend::DriverLibrary> library_;
    std::string libraryError_;
    std::unique_ptr<ExtraFunctions> extras_;
};

} // namespace standin
