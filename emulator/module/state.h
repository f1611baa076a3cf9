#pragma once
// Everything the emulated module remembers between calls, and its JSON form in the state file.

#include <array>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace emulator {

// Whether two names are the same when ASCII letters are compared without regard to case.
bool sameName(std::string_view a, std::string_view b);

// A network configuration as the module stored it: its elements in document order, named as
// the document named them.
struct NetworkConfig {
    std::vector<std::pair<std::string, std::string>> fields;

    // The value of an element, its name compared without regard to case, or empty when the
    // configuration has none.
    std::string value(std::string_view name) const;
};

// The registration data of the taxpayer that SEFAZ hands a module at activation.
struct Taxpayer {
    std::string cnpj;
    int cUF = 0;
    std::string name;
    std::string fantasyName; // xFant; empty when the taxpayer has none
    std::string street;
    std::string number;
    std::string district;
    std::string city;
    std::string postalCode;
    std::string taxRegime; // cRegTrib: 1 Simples Nacional, 3 regime normal
};

// The last fiscal sale, as far as its cancellation needs it.
struct LastSale {
    std::string key;           // 44 digits, without "CFe"
    std::string date;          // dEmi AAAAMMDD
    std::string time;          // hEmi HHMMSS
    std::int64_t issuedAt = 0; // seconds since the epoch
    std::string total;         // vCFe
    std::string customerCnpj;
    std::string customerCpf;
    std::string stateRegistration;     // emit/IE
    std::string municipalRegistration; // emit/IM
    bool cancelled = false;
};

enum OperationState {
    unblocked = 0,
    blockedBySefaz = 1,
    blockedByTaxpayer = 2,
    blockedAutonomously = 3,
    blockedForDeactivation = 4,
};

// A rehearsed failure: how many of the next calls it still affects, and the value of the
// environment variable that set that count (a new value sets it anew).
struct Rehearsal {
    int calls = 0;
    std::string setting;
};

// Takes a changed setting into the rehearsal's count: a number from 0 to 1,000,000; anything
// else counts 0. The same value again leaves the count as it is.
void takeRehearsalSetting(Rehearsal& rehearsal, std::string_view setting);

// Whether the rehearsal still affects a call; uses one call of its count when it does.
bool useRehearsedCall(Rehearsal& rehearsal);

// The layout versions of the documents a module may work with, oldest first.
inline constexpr std::string_view layoutVersions[] = {"0.06", "0.07", "0.08"};

struct ModuleState {
    std::string serial; // nine digits
    bool activated = false;
    // Activated with subComando 2 (ICP-Brasil): the key and its certificate request are made,
    // the module waits for the certificate and is not activated until it comes.
    bool awaitingCertificate = false;
    // Activated with an ICP-Brasil certificate (subComando 2), which AtivarSAT with subComando 3
    // renews.
    bool icpBrasil = false;
    // A renewal under way: the new key, whose request was answered, waiting for its certificate;
    // the module signs with the current key and certificate until it comes. Empty otherwise.
    std::string renewalKeyPem;
    std::string codeDigest;  // SHA-256 of the activation code; the code itself is never stored
    std::string activatedAt; // AAAAMMDDHHMMSS
    Taxpayer taxpayer;
    std::string privateKeyPem;
    std::string certificatePem;
    std::string certificateIssued; // AAAAMMDD
    std::string certificateExpires;
    std::string softwareHouseCnpj;
    std::string signAC; // the associated signature, 344 Base64 characters
    int operationState = unblocked;
    std::string softwareVersion = "01.00.00";
    std::string layout{layoutVersions[std::size(layoutVersions) - 1]}; // versao of what it issues
    int lastNumber = 0;     // nCFe of the last fiscal document (sale or cancellation)
    int lastTestNumber = 0; // numbering of the end-to-end tests, apart from the fiscal one
    bool hasLastSale = false;
    LastSale lastSale;
    std::string firstKey; // first and last fiscal document in the memory, 44 digits
    std::string lastKey;
    std::string lastTransmission; // AAAAMMDDHHMMSS; empty until the first document
    std::string lastCommunication;
    std::uint64_t storedBytes = 0;        // size of the documents in the memory
    std::array<NetworkConfig, 4> network; // stored configurations; no fields = slot empty
    std::vector<int> sessions;            // sessions whose answers are kept, oldest first
    std::string lastFiscalDigest;         // SHA-256 of the kept last fiscal answer
    // Busy rehearsal: how many of the next calls answer "em processamento" (MFE_EMULADOR_OCUPADO).
    Rehearsal busy;
    // SEFAZ outage rehearsal: how many of the next calls that talk to SEFAZ find it unreachable
    // (MFE_EMULADOR_SEM_SEFAZ).
    Rehearsal sefazOutage;
};

inline constexpr std::size_t keptSessions = 100;

std::string toJson(const ModuleState& state);

// Throws std::exception (nlohmann's or std::invalid_argument) when the text is not a state.
ModuleState fromJson(const std::string& text);

} // namespace emulator
