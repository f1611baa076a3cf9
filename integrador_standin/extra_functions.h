#pragma once
// The two SAT functions beyond the program's sixteen that the stand-in also carries to the
// module library, as Integrador methods of the same names:
// ComunicarCertificadoICPBRASIL(numeroSessao, codigoDeAtivacao, certificado) and
// ConsultarUltimaSessaoFiscal(numeroSessao, codigoDeAtivacao).

#include "access/dynamic_library.h"
#include "integrador_standin/request.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace standin {

class ExtraFunctions {
public:
    // Opens the library at `path`; nullptr with `error` set when it cannot be loaded.
    static std::unique_ptr<ExtraFunctions> load(const std::string& path, std::string& error);

    // Whether the Integrador method is one of the two.
    static bool knows(std::string_view method);

    // The library's answer to the request of one of the two methods; nothing, with `error`
    // set, when a parameter is missing, the session is not an integer or the library lacks
    // the function.
    std::optional<std::string> call(const Request& request, std::string& error) const;

private:
    explicit ExtraFunctions(std::unique_ptr<backend::DynamicLibrary> library);
    std::unique_ptr<backend::DynamicLibrary> library_;
};

} // namespace standin
