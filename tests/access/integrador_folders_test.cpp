#include "access/integrador_folders.h"

#include "tests/portable.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

// TARVIK_INTEGRADOR_DIR decides on every platform; unset or empty, the platform's own place.
TEST(IntegradorFolders, TheEnvironmentVariableWinsOverThePlatformsDefault) {
    const fs::path program = fs::path("programa") / "pasta";
#ifdef _WIN32
    const fs::path fallback = "C:\\Integrador";
#else
    const fs::path fallback = program / "Integrador";
#endif
    const fs::path chosen = fs::path("outra") / "Integrador";
    const struct {
        const char* value; // nullptr: unset
        fs::path root;
    } cases[] = {{nullptr, fallback}, {"", fallback}, {"outra/Integrador", chosen}};
    for (const auto& c : cases) {
        if (c.value)
            portable::setVariable("TARVIK_INTEGRADOR_DIR", c.value);
        else
            portable::unsetVariable("TARVIK_INTEGRADOR_DIR");
        const auto folders = backend::integradorFolders(program);
        EXPECT_EQ(folders.input.lexically_normal(), (c.root / "Input").lexically_normal())
            << (c.value ? c.value : "(unset)");
        EXPECT_EQ(folders.output.lexically_normal(), (c.root / "Output").lexically_normal());
    }
    portable::unsetVariable("TARVIK_INTEGRADOR_DIR");
}

} // namespace
