#pragma once
// The tax authority's published files (XSD schemas, the table of rejection codes) are not part
// of the repository. A test that needs one skips when the build was not given it, saying what
// is missing and which build option supplies it.

#include <gtest/gtest.h>

#include <filesystem>

// Skips the running test when `path` is missing; `option` is the CMake option that names the
// folder of published files it comes from.
#define SKIP_WITHOUT_PUBLISHED_FILE(path, option)                                                  \
    if (!std::filesystem::exists(path))                                                            \
    GTEST_SKIP() << (path) << " not found: the tax authority's published files are not part "      \
                 << "of the repository; configure the build with " << (option)                     \
                 << "=FOLDER_HOLDING_THEM (see README.md, \"Tests\")"
