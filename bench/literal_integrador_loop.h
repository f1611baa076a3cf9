#pragma once
// The answer wait as first designed, kept only as the benchmark's baseline: the output folder
// is listed again and again without a pause, and half a second passes before each file is read.

#include "access/integrador_folders.h"
#include "core/arguments.h"
#include "core/catalogue.h"

#include <chrono>
#include <string>
#include <string_view>

namespace bench {

std::string literalChamaIntegrador(const backend::IntegradorFolders& folders,
                                   const core::Operation& operation,
                                   const core::Arguments& arguments, std::string_view identificador,
                                   std::chrono::milliseconds waitLimit,
                                   std::string& answerDocument);

} // namespace bench
