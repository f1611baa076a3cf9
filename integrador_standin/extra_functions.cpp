#include "integrador_standin/extra_functions.h"

#include "access/driver_library.h"
#include "core/mfe_call.h"
#include "core/text.h"

#include <algorithm>
#include <stdexcept>

namespace standin {
namespace {

constexpr std::string_view comunicarCertificado = "ComunicarCertificadoICPBRASIL";
constexpr std::string_view ultimaSessaoFiscal = "ConsultarUltimaSessaoFiscal";

const std::string* parameter(const Request& request, std::string_view name, std::string& error) {
    const auto found = std::find_if(request.parameters.begin(), request.parameters.end(),
                                    [&](const auto& parameter) { return parameter.first == name; });
    if (found == request.parameters.end()) {
        error = "Parâmetro " + std::string(name) + " ausente";
        return nullptr;
    }
    return &found->second;
}

} // namespace

std::unique_ptr<ExtraFunctions> ExtraFunctions::load(const std::string& path, std::string& error) {
    auto library = backend::DynamicLibrary::open(path, error);
    if (!library)
        return nullptr;
    return std::unique_ptr<ExtraFunctions>(new ExtraFunctions(std::move(library)));
}

ExtraFunctions::ExtraFunctions(std::unique_ptr<backend::DynamicLibrary> library)
    : library_(std::move(library)) {}

bool ExtraFunctions::knows(std::string_view method) {
    return method == comunicarCertificado || method == ultimaSessaoFiscal;
}

std::optional<std::string> ExtraFunctions::call(const Request& request, std::string& error) const {
    const bool certificate = request.method == comunicarCertificado;
    const std::string* sessao = parameter(request, "numeroSessao", error);
    const std::string* codigo = sessao ? parameter(request, "codigoDeAtivacao", error) : nullptr;
    const std::string* certificado =
        codigo && certificate ? parameter(request, "certificado", error) : nullptr;
    if (!codigo || (certificate && !certificado))
        return std::nullopt;
    int session = 0;
    try {
        session = core::toInt(*sessao);
    } catch (const std::invalid_argument&) {
        error = "Parâmetro numeroSessao não é um inteiro: " + *sessao;
        return std::nullopt;
    }
    void* entry = library_->symbol(request.method.c_str());
    if (entry == nullptr) {
        error = backend::missingFunctionMessage(request.method);
        return std::nullopt;
    }
    // The activation code is typed text, which the library takes in its 8-bit code page; the
    // certificate is Base64 or PEM, plain ASCII.
    const std::string code = core::toAnsi(*codigo);
    const char* answer = nullptr;
    if (certificate) {
        using Function = const char*(MFE_CALL*)(int, const char*, const char*);
        answer = reinterpret_cast<Function>(entry)(session, code.c_str(), certificado->c_str());
    } else {
        using Function = const char*(MFE_CALL*)(int, const char*);
        answer = reinterpret_cast<Function>(entry)(session, code.c_str());
    }
    return std::string(answer ? answer : "");
}

} // namespace standin
