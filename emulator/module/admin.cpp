// The administration operations: query, activation, signature association, activation-code
// change, blocking, software update, logs and the session query.

#include "emulator/module/module.h"

#include "emulator/sale/crypto.h"
#include "emulator/sale/fiscal_ids.h"

#include <algorithm>
#include <cstdio>

namespace emulator {
namespace {

// Longest certificate text taken from a caller; real certificates are a few kilobytes.
constexpr std::size_t maxCertificateBytes = 64 * 1024;

bool validCodeLength(std::string_view code) {
    return code.size() >= 8 && code.size() <= 32;
}

// The registration data SEFAZ would send for the taxpayer; stored in the state file, where a
// tester may edit it.
Taxpayer testTaxpayer(std::string_view cnpj, int cUF) {
    Taxpayer t;
    t.cnpj = std::string(cnpj);
    t.cUF = cUF;
    t.name = "CONTRIBUINTE DE TESTE DO EMULADOR";
    t.street = "RUA DO EMULADOR";
    t.number = "100";
    t.district = "CENTRO";
    t.city = "CIDADE DE TESTE";
    t.postalCode = "01001000";
    t.taxRegime = "3";
    return t;
}

// The answer carrying a certificate request (Base64 of its PEM) in its sixth field.
Answer requestAnswer(int sessao, const std::string& code, const std::string& requestPem) {
    return AnswerBuilder(sessao, code)
        .add(standardMessage(code))
        .add("")
        .add("")
        .add(base64Encode(requestPem))
        .done();
}

} // namespace

ModuleState newModule(std::mt19937_64& random) {
    ModuleState state;
    std::uniform_int_distribution<int> digits(100000000, 999999999);
    state.serial = std::to_string(digits(random));
    return state;
}

Module::Module(ModuleState& state, const ModuleRecords& records, TimePoint now,
               std::mt19937_64& random)
    : state_(state), records_(records), now_(now), random_(random) {}

std::optional<Answer> Module::refuseCode(Op op, int sessao, std::string_view codigo,
                                         bool whileAwaiting) const {
    const bool opened = state_.activated || (whileAwaiting && state_.awaitingCertificate);
    if (opened && sha256Hex(codigo) == state_.codeDigest)
        return std::nullopt;
    return standardAnswer(sessao, answerCode(op, "001"));
}

std::string Module::randomDigits(int count) {
    std::uniform_int_distribution<int> digit(0, 9);
    std::string text;
    for (int i = 0; i < count; ++i)
        text += static_cast<char>('0' + digit(random_));
    return text;
}

std::string Module::nextNumber(int& counter) {
    counter = counter >= 999999 ? 1 : counter + 1;
    char text[16];
    std::snprintf(text, sizeof text, "%06d", counter);
    return text;
}

std::optional<Answer> Module::sefazUnreachable(int sessao, std::string_view code) {
    if (!useRehearsedCall(state_.sefazOutage))
        return std::nullopt;
    return standardAnswer(sessao, code, "SEFAZ inalcançável (MFE_EMULADOR_SEM_SEFAZ)");
}

Answer Module::answerAfterCommunication(int sessao, std::string_view code) {
    state_.lastCommunication = stampOf(now_);
    return standardAnswer(sessao, code);
}

Answer Module::consultarSAT(int sessao) {
    return standardAnswer(sessao, "08000");
}

Answer Module::ativarSAT(int sessao, int subComando, std::string_view codigo, std::string_view cnpj,
                         int cUF) {
    if (subComando == 3)
        return renewIcpBrasilCertificate(sessao, codigo, cnpj);
    if (state_.activated)
        return standardAnswer(sessao, "04003");
    if (subComando != 1 && subComando != 2)
        return standardAnswer(sessao, "04099",
                              "subComando deve ser 1 (AC-SAT), 2 (ICP-Brasil) ou 3 (renovação "
                              "ICP-Brasil)");
    if (!validCodeLength(codigo))
        return standardAnswer(sessao, "04099",
                              "Código de ativação deve ter entre 8 e 32 caracteres");
    if (!isCnpj(cnpj))
        return standardAnswer(sessao, "04002");
    if (ufAbbreviation(cUF).empty())
        return standardAnswer(sessao, "04099", "cUF não é o código de uma UF");
    if (auto failed = sefazUnreachable(sessao, "04005"))
        return *failed;

    const Taxpayer taxpayer = testTaxpayer(cnpj, cUF);
    KeyMaterial keys;
    try {
        keys = generateKeyMaterial({std::string(cnpj) + ":" + state_.serial, taxpayer.name,
                                    std::string(ufAbbreviation(cUF))},
                                   std::chrono::system_clock::to_time_t(now_));
    } catch (const std::exception& error) {
        return standardAnswer(sessao, "04001", error.what());
    }
    state_.codeDigest = sha256Hex(codigo);
    state_.lastCommunication = stampOf(now_);
    state_.taxpayer = taxpayer;
    state_.privateKeyPem = keys.privateKeyPem;
    // AC-SAT: the test certificate is installed at once. ICP-Brasil: the module waits for the
    // certificate a certification authority issues for its request.
    state_.awaitingCertificate = subComando == 2;
    state_.icpBrasil = subComando == 2;
    state_.renewalKeyPem.clear();
    if (subComando == 1)
        installCertificate(keys.certificatePem, keys.notBefore, keys.notAfter);
    return requestAnswer(sessao, subComando == 1 ? "04000" : "04006", keys.requestPem);
}

Answer Module::renewIcpBrasilCertificate(int sessao, std::string_view codigo,
                                         std::string_view cnpj) {
    if (!state_.activated)
        return standardAnswer(sessao, "04099",
                              "A renovação (subComando 3) é de um módulo ativado com certificado "
                              "ICP-Brasil");
    if (!state_.icpBrasil)
        return standardAnswer(sessao, "04003",
                              "O certificado deste módulo é AC-SAT: a renovação (subComando 3) é "
                              "do certificado ICP-Brasil");
    if (sha256Hex(codigo) != state_.codeDigest)
        return standardAnswer(sessao, "04099", "Código de ativação inválido");
    if (cnpj != state_.taxpayer.cnpj)
        return standardAnswer(sessao, "04002");
    if (auto failed = sefazUnreachable(sessao, "04005"))
        return *failed;
    KeyMaterial keys;
    try {
        keys =
            generateKeyMaterial({state_.taxpayer.cnpj + ":" + state_.serial, state_.taxpayer.name,
                                 std::string(ufAbbreviation(state_.taxpayer.cUF))},
                                std::chrono::system_clock::to_time_t(now_));
    } catch (const std::exception& error) {
        return standardAnswer(sessao, "04007", error.what());
    }
    // The current key and certificate stay in use until the new certificate comes.
    state_.renewalKeyPem = keys.privateKeyPem;
    state_.lastCommunication = stampOf(now_);
    return requestAnswer(sessao, "04006", keys.requestPem);
}

void Module::installCertificate(const std::string& pem, const std::string& notBefore,
                                const std::string& notAfter) {
    state_.activated = true;
    state_.awaitingCertificate = false;
    state_.activatedAt = stampOf(now_);
    state_.lastCommunication = state_.activatedAt;
    state_.certificatePem = pem;
    state_.certificateIssued = notBefore;
    state_.certificateExpires = notAfter;
}

Answer Module::comunicarCertificadoICPBRASIL(int sessao, std::string_view codigo,
                                             std::string_view certificado) {
    // Nothing waits for a certificate: the unknown error with its reason, which no client takes
    // for a refused certificate (05003). A module with an activation code checks it first.
    constexpr std::string_view nothingAwaited =
        "Não existe ativação nem renovação aguardando certificado";
    const bool renewing = !state_.renewalKeyPem.empty();
    if (!state_.awaitingCertificate && !state_.activated)
        return standardAnswer(sessao, "05099", nothingAwaited);
    if (sha256Hex(codigo) != state_.codeDigest)
        return standardAnswer(sessao, "05001");
    if (!state_.awaitingCertificate && !renewing)
        return standardAnswer(sessao, "05099", nothingAwaited);
    const std::string& requestKey = renewing ? state_.renewalKeyPem : state_.privateKeyPem;
    const auto received =
        certificado.size() <= maxCertificateBytes ? readCertificate(certificado) : std::nullopt;
    if (!received)
        return standardAnswer(sessao, "05003", "O texto enviado não é um certificado X.509");
    if (!certificateMatchesKey(received->pem, requestKey))
        return standardAnswer(sessao, "05003",
                              "O certificado não é o da chave do último pedido deste módulo");
    if (auto failed = sefazUnreachable(sessao, "05002"))
        return *failed;
    if (renewing) {
        // The switch: from now on the module signs with the new key and certificate.
        state_.privateKeyPem = state_.renewalKeyPem;
        state_.renewalKeyPem.clear();
        state_.certificatePem = received->pem;
        state_.certificateIssued = received->notBefore;
        state_.certificateExpires = received->notAfter;
        state_.lastCommunication = stampOf(now_);
    } else {
        installCertificate(received->pem, received->notBefore, received->notAfter);
    }
    return standardAnswer(sessao, "05000");
}

Answer Module::associarAssinatura(int sessao, std::string_view codigo, std::string_view cnpjValue,
                                  std::string_view assinatura) {
    if (auto refused = refuseCode(Op::AssociarAssinatura, sessao, codigo))
        return *refused;
    if (cnpjValue.size() != 28 || !isCnpj(cnpjValue.substr(0, 14)))
        return standardAnswer(sessao, "13004",
                              "CNPJvalue deve ter o CNPJ da Software House seguido do CNPJ do "
                              "contribuinte (28 dígitos)");
    if (cnpjValue.substr(14) != state_.taxpayer.cnpj)
        return standardAnswer(sessao, "13007");
    const auto signature = base64Decode(assinatura);
    if (assinatura.size() != 344 || !signature || signature->size() != 256)
        return standardAnswer(sessao, "13003", "A assinatura deve ter 344 caracteres Base64");
    if (auto failed = sefazUnreachable(sessao, "13002"))
        return *failed;
    state_.softwareHouseCnpj = std::string(cnpjValue.substr(0, 14));
    state_.signAC = std::string(assinatura);
    return answerAfterCommunication(sessao, "13000");
}

Answer Module::trocarCodigoDeAtivacao(int sessao, std::string_view codigo, int opcao,
                                      std::string_view novoCodigo, std::string_view confirmacao) {
    if (opcao == 2) {
        if (!state_.activated || codigo != emergencyCode)
            return standardAnswer(sessao, "18002");
    } else if (auto refused = refuseCode(Op::TrocarCodigoDeAtivacao, sessao, codigo)) {
        return *refused;
    } else if (opcao != 1) {
        return standardAnswer(sessao, "18099", "opcao deve ser 1 (código atual) ou 2 (emergência)");
    }
    if (!validCodeLength(novoCodigo))
        return standardAnswer(sessao, "18099",
                              "Novo código de ativação deve ter entre 8 e 32 caracteres");
    if (novoCodigo != confirmacao)
        return standardAnswer(sessao, "18099",
                              "Novo código e confirmação do novo código não coincidem");
    state_.codeDigest = sha256Hex(novoCodigo);
    return standardAnswer(sessao, "18000");
}

Answer Module::bloquearSAT(int sessao, std::string_view codigo) {
    if (auto refused = refuseCode(Op::BloquearSAT, sessao, codigo))
        return *refused;
    if (state_.operationState != unblocked)
        return standardAnswer(sessao, "16002");
    if (auto failed = sefazUnreachable(sessao, "16003"))
        return *failed;
    state_.operationState = blockedByTaxpayer;
    return answerAfterCommunication(sessao, "16000");
}

Answer Module::desbloquearSAT(int sessao, std::string_view codigo) {
    if (auto refused = refuseCode(Op::DesbloquearSAT, sessao, codigo))
        return *refused;
    switch (state_.operationState) {
    case unblocked:
        return standardAnswer(sessao, "17005");
    case blockedBySefaz:
        return standardAnswer(sessao, "17003");
    case blockedAutonomously:
        return standardAnswer(sessao, "17006");
    case blockedForDeactivation:
        return standardAnswer(sessao, "17007");
    default:
        break;
    }
    if (auto failed = sefazUnreachable(sessao, "17004"))
        return *failed;
    state_.operationState = unblocked;
    return answerAfterCommunication(sessao, "17000");
}

Answer Module::atualizarSoftwareSAT(int sessao, std::string_view codigo) {
    if (auto refused = refuseCode(Op::AtualizarSoftwareSAT, sessao, codigo))
        return *refused;
    // "01.00.00" becomes "01.01.00": the middle number counts the updates.
    int major = 1, minor = 0, patch = 0;
    std::sscanf(state_.softwareVersion.c_str(), "%d.%d.%d", &major, &minor, &patch);
    if (++minor > 99) {
        minor = 0;
        ++major;
    }
    char version[40];
    std::snprintf(version, sizeof version, "%02d.%02d.%02d", major % 100, minor, patch % 100);
    state_.softwareVersion = version;
    return answerAfterCommunication(sessao, "14000");
}

Answer Module::extrairLogs(int sessao, std::string_view codigo) {
    if (auto refused = refuseCode(Op::ExtrairLogs, sessao, codigo))
        return *refused;
    return AnswerBuilder(sessao, "15000")
        .add(standardMessage("15000"))
        .add("")
        .add("")
        .add(base64Encode(records_.logText()))
        .done();
}

Answer Module::consultarNumeroSessao(int sessao, std::string_view codigo, int consultada) {
    if (!state_.activated)
        return standardAnswer(sessao, "11002");
    if (auto refused = refuseCode(Op::ConsultarNumeroSessao, sessao, codigo))
        return *refused;
    const auto& kept = state_.sessions;
    if (std::find(kept.begin(), kept.end(), consultada) != kept.end()) {
        if (auto answer = records_.sessionAnswer(consultada))
            return {"11000", *answer, {}};
    }
    return standardAnswer(sessao, "11003");
}

Answer Module::consultarUltimaSessaoFiscal(int sessao, std::string_view codigo) {
    if (!state_.activated)
        return standardAnswer(sessao, "19002");
    if (auto refused = refuseCode(Op::ConsultarUltimaSessaoFiscal, sessao, codigo))
        return *refused;
    if (auto answer = records_.lastFiscalAnswer())
        return {"19000", *answer, {}};
    return standardAnswer(sessao, "19003");
}

} // namespace emulator
