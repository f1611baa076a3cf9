// The eighteen functions of the driver library, as a point of sale or the workbench calls them:
// the workbench's sixteen, and ComunicarCertificadoICPBRASIL and ConsultarUltimaSessaoFiscal,
// which other SAT clients look up.
// Each returns a NUL-terminated UTF-8 answer that stays valid until the same thread calls the
// library again; nothing else is exported.

#include "core/mfe_call.h"
#include "emulator/module/service.h"

#include <chrono>
#include <exception>
#include <filesystem>
#include <string>
#include <thread>

#ifdef _WIN32
#include <windows.h>
// Exported by name through mfe.def alone.
#define MFE_EXPORT extern "C"
#else
#include <dlfcn.h>
#define MFE_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

// The folder this library was loaded from: the default state lives beside it.
std::filesystem::path libraryFolder() {
#ifdef _WIN32
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&libraryFolder), &self);
    wchar_t path[MAX_PATH];
    const DWORD size = GetModuleFileNameW(self, path, MAX_PATH);
    return std::filesystem::path(std::wstring(path, size)).parent_path();
#else
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&libraryFolder), &info) == 0 || info.dli_fname == nullptr)
        return std::filesystem::current_path();
    return std::filesystem::absolute(info.dli_fname).parent_path();
#endif
}

std::string_view text(const char* value) {
    return value ? std::string_view(value) : std::string_view();
}

// Runs one call and keeps its answer for the caller. No exception leaves the library: a failure
// of the module's files or of the machine becomes the operation's xx099 answer.
template <class Call> const char* answer(emulator::Op op, int session, Call call) {
    thread_local std::string buffer;
    if (const int delay = emulator::answerDelayMilliseconds(); delay > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    try {
        emulator::Service service(emulator::stateFileFor(libraryFolder()));
        buffer = call(service);
    } catch (const std::exception& error) {
        buffer = emulator::failureAnswer(op, session, "099", error.what()).text;
    } catch (...) {
        buffer = emulator::failureAnswer(op, session, "099").text;
    }
    return buffer.c_str();
}

} // namespace

using emulator::Op;
using emulator::Service;

MFE_EXPORT const char* MFE_CALL ConsultarSAT(int numeroSessao) {
    return answer(Op::ConsultarSAT, numeroSessao,
                  [&](Service& s) { return s.consultarSAT(numeroSessao); });
}

MFE_EXPORT const char* MFE_CALL ConfigurarInterfaceDeRede(int numeroSessao,
                                                          const char* codigoDeAtivacao,
                                                          const char* dadosConfiguracao) {
    return answer(Op::ConfigurarInterfaceDeRede, numeroSessao, [&](Service& s) {
        return s.configurarInterfaceDeRede(numeroSessao, text(codigoDeAtivacao),
                                           text(dadosConfiguracao));
    });
}

MFE_EXPORT const char* MFE_CALL AtivarSAT(int numeroSessao, int subComando,
                                          const char* codigoDeAtivacao, const char* CNPJ, int cUF) {
    return answer(Op::AtivarSAT, numeroSessao, [&](Service& s) {
        return s.ativarSAT(numeroSessao, subComando, text(codigoDeAtivacao), text(CNPJ), cUF);
    });
}

MFE_EXPORT const char* MFE_CALL AssociarAssinatura(int numeroSessao, const char* codigoDeAtivacao,
                                                   const char* CNPJvalue,
                                                   const char* assinaturaCNPJs) {
    return answer(Op::AssociarAssinatura, numeroSessao, [&](Service& s) {
        return s.associarAssinatura(numeroSessao, text(codigoDeAtivacao), text(CNPJvalue),
                                    text(assinaturaCNPJs));
    });
}

MFE_EXPORT const char* MFE_CALL TesteFimAFim(int numeroSessao, const char* codigoDeAtivacao,
                                             const char* dadosVenda) {
    return answer(Op::TesteFimAFim, numeroSessao, [&](Service& s) {
        return s.testeFimAFim(numeroSessao, text(codigoDeAtivacao), text(dadosVenda));
    });
}

MFE_EXPORT const char* MFE_CALL ConsultarStatusOperacional(int numeroSessao,
                                                           const char* codigoDeAtivacao) {
    return answer(Op::ConsultarStatusOperacional, numeroSessao, [&](Service& s) {
        return s.consultarStatusOperacional(numeroSessao, text(codigoDeAtivacao));
    });
}

MFE_EXPORT const char* MFE_CALL TrocarCodigoDeAtivacao(int numeroSessao,
                                                       const char* codigoDeAtivacao, int opcao,
                                                       const char* novoCodigo,
                                                       const char* confNovoCodigo) {
    return answer(Op::TrocarCodigoDeAtivacao, numeroSessao, [&](Service& s) {
        return s.trocarCodigoDeAtivacao(numeroSessao, text(codigoDeAtivacao), opcao,
                                        text(novoCodigo), text(confNovoCodigo));
    });
}

MFE_EXPORT const char* MFE_CALL ExtrairLogs(int numeroSessao, const char* codigoDeAtivacao) {
    return answer(Op::ExtrairLogs, numeroSessao,
                  [&](Service& s) { return s.extrairLogs(numeroSessao, text(codigoDeAtivacao)); });
}

MFE_EXPORT const char* MFE_CALL EnviarDadosVenda(int numeroSessao, const char* codigoDeAtivacao,
                                                 const char* dadosVenda) {
    return answer(Op::EnviarDadosVenda, numeroSessao, [&](Service& s) {
        return s.enviarDadosVenda(numeroSessao, text(codigoDeAtivacao), text(dadosVenda));
    });
}

MFE_EXPORT const char* MFE_CALL CancelarUltimaVenda(int numeroSessao, const char* codigoDeAtivacao,
                                                    const char* chave,
                                                    const char* dadosCancelamento) {
    return answer(Op::CancelarUltimaVenda, numeroSessao, [&](Service& s) {
        return s.cancelarUltimaVenda(numeroSessao, text(codigoDeAtivacao), text(chave),
                                     text(dadosCancelamento));
    });
}

MFE_EXPORT const char* MFE_CALL ConsultarNumeroSessao(int numeroSessao,
                                                      const char* codigoDeAtivacao,
                                                      int cNumeroDeSessao) {
    return answer(Op::ConsultarNumeroSessao, numeroSessao, [&](Service& s) {
        return s.consultarNumeroSessao(numeroSessao, text(codigoDeAtivacao), cNumeroDeSessao);
    });
}

MFE_EXPORT const char* MFE_CALL BloquearSAT(int numeroSessao, const char* codigoDeAtivacao) {
    return answer(Op::BloquearSAT, numeroSessao,
                  [&](Service& s) { return s.bloquearSAT(numeroSessao, text(codigoDeAtivacao)); });
}

MFE_EXPORT const char* MFE_CALL DesbloquearSAT(int numeroSessao, const char* codigoDeAtivacao) {
    return answer(Op::DesbloquearSAT, numeroSessao, [&](Service& s) {
        return s.desbloquearSAT(numeroSessao, text(codigoDeAtivacao));
    });
}

MFE_EXPORT const char* MFE_CALL AtualizarSoftwareSAT(int numeroSessao,
                                                     const char* codigoDeAtivacao) {
    return answer(Op::AtualizarSoftwareSAT, numeroSessao, [&](Service& s) {
        return s.atualizarSoftwareSAT(numeroSessao, text(codigoDeAtivacao));
    });
}

MFE_EXPORT const char* MFE_CALL ConsultarStatusOperacionalMFE(int numeroSessao,
                                                              const char* codigoDeAtivacao) {
    return answer(Op::ConsultarStatusOperacionalMFE, numeroSessao, [&](Service& s) {
        return s.consultarStatusOperacionalMFE(numeroSessao, text(codigoDeAtivacao));
    });
}

MFE_EXPORT const char* MFE_CALL ConfigurarInterfaceDeRedeMFE(int numeroSessao,
                                                             const char* codigoDeAtivacao,
                                                             const char* dadosConfiguracao) {
    return answer(Op::ConfigurarInterfaceDeRedeMFE, numeroSessao, [&](Service& s) {
        return s.configurarInterfaceDeRedeMFE(numeroSessao, text(codigoDeAtivacao),
                                              text(dadosConfiguracao));
    });
}

MFE_EXPORT const char* MFE_CALL ComunicarCertificadoICPBRASIL(int numeroSessao,
                                                              const char* codigoDeAtivacao,
                                                              const char* certificado) {
    return answer(Op::ComunicarCertificadoICPBRASIL, numeroSessao, [&](Service& s) {
        return s.comunicarCertificadoICPBRASIL(numeroSessao, text(codigoDeAtivacao),
                                               text(certificado));
    });
}

MFE_EXPORT const char* MFE_CALL ConsultarUltimaSessaoFiscal(int numeroSessao,
                                                            const char* codigoDeAtivacao) {
    return answer(Op::ConsultarUltimaSessaoFiscal, numeroSessao, [&](Service& s) {
        return s.consultarUltimaSessaoFiscal(numeroSessao, text(codigoDeAtivacao));
    });
}
