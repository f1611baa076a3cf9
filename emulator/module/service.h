#pragma once
// The module behind its eighteen functions: every call locks the module's files, loads the state
// (a new module when there is none, or when the file is unreadable, which is kept aside), runs
// the operation (or answers "em processamento" while a busy rehearsal lasts), keeps the
// session's answer, logs the call and saves the state whole. Used by the driver library's
// exported functions and by anything else that plays the module.

#include "emulator/module/answers.h"
#include "emulator/module/clock.h"
#include "emulator/module/store.h"

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace emulator {

class Module;

class Service {
public:
    using Clock = std::function<TimePoint()>;

    explicit Service(
        const std::filesystem::path& stateFile,
        Clock clock = [] { return std::chrono::system_clock::now(); });

    std::string consultarSAT(int numeroSessao);
    std::string ativarSAT(int numeroSessao, int subComando, std::string_view codigoDeAtivacao,
                          std::string_view cnpj, int cUF);
    std::string associarAssinatura(int numeroSessao, std::string_view codigoDeAtivacao,
                                   std::string_view cnpjValue, std::string_view assinaturaCNPJs);
    std::string testeFimAFim(int numeroSessao, std::string_view codigoDeAtivacao,
                             std::string_view dadosVenda);
    std::string consultarStatusOperacional(int numeroSessao, std::string_view codigoDeAtivacao);
    std::string trocarCodigoDeAtivacao(int numeroSessao, std::string_view codigoDeAtivacao,
                                       int opcao, std::string_view novoCodigo,
                                       std::string_view confNovoCodigo);
    std::string extrairLogs(int numeroSessao, std::string_view codigoDeAtivacao);
    std::string enviarDadosVenda(int numeroSessao, std::string_view codigoDeAtivacao,
                                 std::string_view dadosVenda);
    std::string cancelarUltimaVenda(int numeroSessao, std::string_view codigoDeAtivacao,
                                    std::string_view chave, std::string_view dadosCancelamento);
    std::string consultarNumeroSessao(int numeroSessao, std::string_view codigoDeAtivacao,
                                      int cNumeroDeSessao);
    std::string bloquearSAT(int numeroSessao, std::string_view codigoDeAtivacao);
    std::string desbloquearSAT(int numeroSessao, std::string_view codigoDeAtivacao);
    std::string atualizarSoftwareSAT(int numeroSessao, std::string_view codigoDeAtivacao);
    std::string consultarStatusOperacionalMFE(int numeroSessao, std::string_view codigoDeAtivacao);
    std::string configurarInterfaceDeRede(int numeroSessao, std::string_view codigoDeAtivacao,
                                          std::string_view dadosConfiguracao);
    std::string configurarInterfaceDeRedeMFE(int numeroSessao, std::string_view codigoDeAtivacao,
                                             std::string_view dadosConfiguracao);
    std::string comunicarCertificadoICPBRASIL(int numeroSessao, std::string_view codigoDeAtivacao,
                                              std::string_view certificado);
    std::string consultarUltimaSessaoFiscal(int numeroSessao, std::string_view codigoDeAtivacao);

private:
    std::string run(Op op, int session, const std::function<Answer(Module&)>& operation);

    ModulePaths paths_;
    Clock clock_;
};

// The state file named by the environment variable MFE_EMULADOR_ESTADO, or else
// "mfe_emulador/estado.json" in `libraryFolder`.
std::filesystem::path stateFileFor(const std::filesystem::path& libraryFolder);

// The delay in milliseconds that the environment variable MFE_EMULADOR_ATRASO_MS asks every
// answer to wait, between 0 and ten minutes; 0 when unset or not a number.
int answerDelayMilliseconds();

// The value of a rehearsal's environment variable; empty when unset. MFE_EMULADOR_OCUPADO=N makes
// the next N calls of the module answer their xx098 code; MFE_EMULADOR_SEM_SEFAZ=N makes the
// next N calls that talk to SEFAZ answer their communication failure.
std::string rehearsalSetting(const char* variable);

// Whether this call is one of the busy calls: takes the setting, then uses one call.
bool takeBusyCall(ModuleState& state, std::string_view setting);

} // namespace emulator
