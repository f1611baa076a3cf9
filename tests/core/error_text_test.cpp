#include "core/error_text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <new>
#include <stdexcept>
#include <system_error>

namespace {

namespace fs = std::filesystem;

// The standard library's English texts reach the user in Portuguese with the system's reason;
// the program's own texts pass unchanged.
TEST(ErrorText, standardLibraryTextsBecomePortuguese) {
    const std::error_code denied = std::make_error_code(std::errc::permission_denied);
    const std::string reason = denied.message();
    struct Case {
        std::exception_ptr error;
        std::string expected;
    } cases[] = {
        {std::make_exception_ptr(fs::filesystem_error("cannot create directories",
                                                      fs::path("/dados/Retornos"), denied)),
         "Não foi possível usar /dados/Retornos (" + reason + ")."},
        {std::make_exception_ptr(fs::filesystem_error("cannot copy", fs::path("/a/venda.xml"),
                                                      fs::path("/b/venda.xml"), denied)),
         "Não foi possível usar /a/venda.xml e /b/venda.xml (" + reason + ")."},
        {std::make_exception_ptr(fs::filesystem_error("cannot get current path", denied)),
         "Uma operação com arquivos falhou (" + reason + ")."},
        {std::make_exception_ptr(std::bad_alloc()), "Memória insuficiente para a operação."},
        {std::make_exception_ptr(std::runtime_error("Arquivo: venda.xml não existe.")),
         "Arquivo: venda.xml não existe."},
    };
    for (const Case& c : cases) {
        try {
            std::rethrow_exception(c.error);
        } catch (const std::exception& e) {
            EXPECT_EQ(core::errorText(e), c.expected) << e.what();
        }
    }
}

} // namespace
