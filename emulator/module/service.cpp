#include "emulator/module/service.h"

#include "core/environment.h"
#include "core/path_text.h"
#include "emulator/module/module.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>

namespace emulator {

Service::Service(const std::filesystem::path& stateFile, Clock clock)
    : paths_(stateFile), clock_(std::move(clock)) {}

std::string Service::run(Op op, int session, const std::function<Answer(Module&)>& operation) {
    // The store holds the module's lock: the time is read after it, so documents are stamped in
    // the order they are issued, as a device stamps them, however many callers wait.
    ModuleStore store(paths_);
    const TimePoint now = clock_();
    std::random_device seed;
    std::mt19937_64 random((static_cast<std::uint64_t>(seed()) << 32) ^ seed());

    std::filesystem::path setAside;
    std::optional<ModuleState> loaded = store.load(stampOf(now), setAside);
    if (!loaded) {
        store.clearRecords();
        loaded = newModule(random);
        if (!setAside.empty())
            store.appendLog(logStampOf(now) + ";estado ilegível guardado em " +
                            core::utf8FromPath(setAside.filename()) + ";novo módulo");
    }
    ModuleState state = std::move(*loaded);

    const bool busy = takeBusyCall(state, rehearsalSetting("MFE_EMULADOR_OCUPADO"));
    takeRehearsalSetting(state.sefazOutage, rehearsalSetting("MFE_EMULADOR_SEM_SEFAZ"));
    const bool validSession = session >= 1 && session <= 999999;
    Answer answer;
    if (busy) {
        answer = failureAnswer(op, session, "098");
    } else if (!validSession) {
        answer = failureAnswer(op, session, "097");
    } else {
        // The operation works on a copy, so a failure halfway leaves the state as it was.
        ModuleState working = state;
        try {
            Module module(working, store, now, random);
            answer = operation(module);
            state = std::move(working);
        } catch (const std::exception& error) {
            answer = failureAnswer(op, session, "099", error.what());
        }
    }
    // The session queries answer another session's answer, which is not kept again.
    const bool processed = validSession && !busy;
    if (processed && op != Op::ConsultarNumeroSessao && op != Op::ConsultarUltimaSessaoFiscal)
        store.keepSession(state, session, answer.text);
    if (processed && (op == Op::EnviarDadosVenda || op == Op::CancelarUltimaVenda))
        store.keepLastFiscalAnswer(state, answer.text);
    char sessionText[16];
    std::snprintf(sessionText, sizeof sessionText, "%06d", session);
    store.appendLog(logStampOf(now) + ";" + std::string(operationName(op)) + ";" + sessionText +
                    ";" + answer.code + (answer.logNote.empty() ? "" : ";" + answer.logNote));
    store.save(state);
    return answer.text;
}

std::string Service::consultarSAT(int s) {
    return run(Op::ConsultarSAT, s, [&](Module& m) { return m.consultarSAT(s); });
}

std::string Service::ativarSAT(int s, int subComando, std::string_view codigo,
                               std::string_view cnpj, int cUF) {
    return run(Op::AtivarSAT, s,
               [&](Module& m) { return m.ativarSAT(s, subComando, codigo, cnpj, cUF); });
}

std::string Service::associarAssinatura(int s, std::string_view codigo, std::string_view value,
                                        std::string_view assinatura) {
    return run(Op::AssociarAssinatura, s,
               [&](Module& m) { return m.associarAssinatura(s, codigo, value, assinatura); });
}

std::string Service::testeFimAFim(int s, std::string_view codigo, std::string_view dados) {
    return run(Op::TesteFimAFim, s, [&](Module& m) { return m.testeFimAFim(s, codigo, dados); });
}

std::string Service::consultarStatusOperacional(int s, std::string_view codigo) {
    return run(Op::ConsultarStatusOperacional, s,
               [&](Module& m) { return m.consultarStatusOperacional(s, codigo); });
}

std::string Service::trocarCodigoDeAtivacao(int s, std::string_view codigo, int opcao,
                                            std::string_view novo, std::string_view conf) {
    return run(Op::TrocarCodigoDeAtivacao, s,
               [&](Module& m) { return m.trocarCodigoDeAtivacao(s, codigo, opcao, novo, conf); });
}

std::string Service::extrairLogs(int s, std::string_view codigo) {
    return run(Op::ExtrairLogs, s, [&](Module& m) { return m.extrairLogs(s, codigo); });
}

std::string Service::enviarDadosVenda(int s, std::string_view codigo, std::string_view dados) {
    return run(Op::EnviarDadosVenda, s,
               [&](Module& m) { return m.enviarDadosVenda(s, codigo, dados); });
}

std::string Service::cancelarUltimaVenda(int s, std::string_view codigo, std::string_view chave,
                                         std::string_view dados) {
    return run(Op::CancelarUltimaVenda, s,
               [&](Module& m) { return m.cancelarUltimaVenda(s, codigo, chave, dados); });
}

std::string Service::consultarNumeroSessao(int s, std::string_view codigo, int consultada) {
    return run(Op::ConsultarNumeroSessao, s,
               [&](Module& m) { return m.consultarNumeroSessao(s, codigo, consultada); });
}

std::string Service::bloquearSAT(int s, std::string_view codigo) {
    return run(Op::BloquearSAT, s, [&](Module& m) { return m.bloquearSAT(s, codigo); });
}

std::string Service::desbloquearSAT(int s, std::string_view codigo) {
    return run(Op::DesbloquearSAT, s, [&](Module& m) { return m.desbloquearSAT(s, codigo); });
}

std::string Service::atualizarSoftwareSAT(int s, std::string_view codigo) {
    return run(Op::AtualizarSoftwareSAT, s,
               [&](Module& m) { return m.atualizarSoftwareSAT(s, codigo); });
}

std::string Service::consultarStatusOperacionalMFE(int s, std::string_view codigo) {
    return run(Op::ConsultarStatusOperacionalMFE, s,
               [&](Module& m) { return m.consultarStatusOperacionalMFE(s, codigo); });
}

std::string Service::configurarInterfaceDeRede(int s, std::string_view codigo,
                                               std::string_view dados) {
    return run(Op::ConfigurarInterfaceDeRede, s,
               [&](Module& m) { return m.configurarInterfaceDeRede(s, codigo, dados); });
}

std::string Service::configurarInterfaceDeRedeMFE(int s, std::string_view codigo,
                                                  std::string_view dados) {
    return run(Op::ConfigurarInterfaceDeRedeMFE, s,
               [&](Module& m) { return m.configurarInterfaceDeRedeMFE(s, codigo, dados); });
}

std::string Service::comunicarCertificadoICPBRASIL(int s, std::string_view codigo,
                                                   std::string_view certificado) {
    return run(Op::ComunicarCertificadoICPBRASIL, s,
               [&](Module& m) { return m.comunicarCertificadoICPBRASIL(s, codigo, certificado); });
}

std::string Service::consultarUltimaSessaoFiscal(int s, std::string_view codigo) {
    return run(Op::ConsultarUltimaSessaoFiscal, s,
               [&](Module& m) { return m.consultarUltimaSessaoFiscal(s, codigo); });
}

std::filesystem::path stateFileFor(const std::filesystem::path& libraryFolder) {
    if (const auto path = core::environmentText("MFE_EMULADOR_ESTADO"))
        return core::pathFromUtf8(*path);
    return libraryFolder / "mfe_emulador" / "estado.json";
}

std::string rehearsalSetting(const char* variable) {
    const char* text = std::getenv(variable);
    return text == nullptr ? std::string() : std::string(text);
}

bool takeBusyCall(ModuleState& state, std::string_view setting) {
    takeRehearsalSetting(state.busy, setting);
    return useRehearsedCall(state.busy);
}

int answerDelayMilliseconds() {
    const char* text = std::getenv("MFE_EMULADOR_ATRASO_MS");
    if (text == nullptr)
        return 0;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 0)
        return 0;
    return static_cast<int>(std::min(value, 600000L));
}

} // namespace emulator
