#pragma once
// The emulated module: the eighteen operations on its remembered state, each giving the answer
// a real SAT / MF-e would give. Pure logic over a state held in memory; the time, the random
// source and the kept records come from the caller, which loads and saves the state.

#include "emulator/module/answers.h"
#include "emulator/module/clock.h"
#include "emulator/module/state.h"
#include "emulator/module/store.h"
#include "emulator/sale/cfe.h"

#include <optional>
#include <random>
#include <string>
#include <string_view>

namespace emulator {

// The code that sets a new activation code when the current one is lost (opcao 2 of
// TrocarCodigoDeAtivacao).
inline constexpr std::string_view emergencyCode = "EMERGENCIA";

// A module as it leaves the factory: a serial number, not activated.
ModuleState newModule(std::mt19937_64& random);

class Module {
public:
    Module(ModuleState& state, const ModuleRecords& records, TimePoint now,
           std::mt19937_64& random);

    Answer consultarSAT(int sessao);
    Answer ativarSAT(int sessao, int subComando, std::string_view codigo, std::string_view cnpj,
                     int cUF);
    Answer associarAssinatura(int sessao, std::string_view codigo, std::string_view cnpjValue,
                              std::string_view assinatura);
    Answer trocarCodigoDeAtivacao(int sessao, std::string_view codigo, int opcao,
                                  std::string_view novoCodigo, std::string_view confirmacao);
    Answer bloquearSAT(int sessao, std::string_view codigo);
    Answer desbloquearSAT(int sessao, std::string_view codigo);
    Answer atualizarSoftwareSAT(int sessao, std::string_view codigo);
    Answer extrairLogs(int sessao, std::string_view codigo);
    Answer consultarNumeroSessao(int sessao, std::string_view codigo, int consultada);

    Answer configurarInterfaceDeRede(int sessao, std::string_view codigo, std::string_view dados);
    Answer configurarInterfaceDeRedeMFE(int sessao, std::string_view codigo,
                                        std::string_view dados);

    Answer consultarStatusOperacional(int sessao, std::string_view codigo);
    Answer consultarStatusOperacionalMFE(int sessao, std::string_view codigo);

    Answer enviarDadosVenda(int sessao, std::string_view codigo, std::string_view dados);
    Answer testeFimAFim(int sessao, std::string_view codigo, std::string_view dados);
    Answer cancelarUltimaVenda(int sessao, std::string_view codigo, std::string_view chave,
                               std::string_view dados);

    Answer comunicarCertificadoICPBRASIL(int sessao, std::string_view codigo,
                                         std::string_view certificado);
    Answer consultarUltimaSessaoFiscal(int sessao, std::string_view codigo);

private:
    // The operation's xx001 answer when the module is not activated or the code is not its
    // activation code; nothing when the code opens the operation. With `whileAwaiting` the code
    // of an activation that waits for its ICP-Brasil certificate opens it too.
    std::optional<Answer> refuseCode(Op op, int sessao, std::string_view codigo,
                                     bool whileAwaiting = false) const;
    // The operation's communication failure (`code`) when a rehearsed SEFAZ outage makes this
    // call find SEFAZ unreachable; nothing when it reaches SEFAZ.
    std::optional<Answer> sefazUnreachable(int sessao, std::string_view code);
    // The operation's answer after it has talked to SEFAZ, which the status reports as the
    // last communication.
    Answer answerAfterCommunication(int sessao, std::string_view code);
    // Completes an activation with its certificate.
    void installCertificate(const std::string& pem, const std::string& notBefore,
                            const std::string& notAfter);
    // AtivarSAT with subComando 3: a new key and its request for the renewal of the ICP-Brasil
    // certificate.
    Answer renewIcpBrasilCertificate(int sessao, std::string_view codigo, std::string_view cnpj);
    std::string randomDigits(int count);
    std::string nextNumber(int& counter);
    // The numbers of the next document of the given numbering, issued now.
    IssueNumbers nextNumbers(int& counter);
    // Numbers, QR-code signature and signed CF-e of a read sale, on the given numbering.
    IssuedCfe issueCfe(const Sale& sale, int& counter);
    std::vector<std::string> statusFields() const;

    ModuleState& state_;
    const ModuleRecords& records_;
    TimePoint now_;
    std::mt19937_64& random_;
};

} // namespace emulator
