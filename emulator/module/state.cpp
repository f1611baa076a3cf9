#include "emulator/module/state.h"

#include "emulator/sale/fiscal_ids.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <stdexcept>

namespace emulator {

using nlohmann::json;

bool sameName(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

std::string NetworkConfig::value(std::string_view name) const {
    for (const auto& [element, text] : fields) {
        if (sameName(element, name))
            return text;
    }
    return {};
}

void takeRehearsalSetting(Rehearsal& rehearsal, std::string_view setting) {
    if (setting == rehearsal.setting)
        return;
    rehearsal.setting = std::string(setting);
    int count = 0;
    const auto [end, error] =
        std::from_chars(setting.data(), setting.data() + setting.size(), count);
    const bool number = error == std::errc() && end == setting.data() + setting.size();
    rehearsal.calls = number && count >= 0 && count <= 1'000'000 ? count : 0;
}

bool useRehearsedCall(Rehearsal& rehearsal) {
    if (rehearsal.calls <= 0)
        return false;
    --rehearsal.calls;
    return true;
}

void to_json(json& j, const Taxpayer& t) {
    j = json{{"cnpj", t.cnpj},
             {"cUF", t.cUF},
             {"name", t.name},
             {"fantasyName", t.fantasyName},
             {"street", t.street},
             {"number", t.number},
             {"district", t.district},
             {"city", t.city},
             {"postalCode", t.postalCode},
             {"taxRegime", t.taxRegime}};
}

void from_json(const json& j, Taxpayer& t) {
    j.at("cnpj").get_to(t.cnpj);
    j.at("cUF").get_to(t.cUF);
    j.at("name").get_to(t.name);
    j.at("street").get_to(t.street);
    j.at("number").get_to(t.number);
    j.at("district").get_to(t.district);
    j.at("city").get_to(t.city);
    j.at("postalCode").get_to(t.postalCode);
    j.at("taxRegime").get_to(t.taxRegime);
    // Added later: a state written before it has a taxpayer without a fantasy name.
    t.fantasyName = j.value("fantasyName", std::string());
}

NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(LastSale, key, date, time, issuedAt, total, customerCnpj,
                                   customerCpf, stateRegistration, municipalRegistration, cancelled)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(NetworkConfig, fields)

namespace {

// Raised when the file's format number is not the one this library writes.
constexpr int format = 1;

} // namespace

std::string toJson(const ModuleState& s) {
    json j{
        {"formato", format},
        {"serie", s.serial},
        {"ativado", s.activated},
        {"aguardandoCertificado", s.awaitingCertificate},
        {"certificadoIcpBrasil", s.icpBrasil},
        {"chavePrivadaRenovacao", s.renewalKeyPem},
        {"resumoCodigoAtivacao", s.codeDigest},
        {"ativadoEm", s.activatedAt},
        {"contribuinte", s.taxpayer},
        {"chavePrivada", s.privateKeyPem},
        {"certificado", s.certificatePem},
        {"certificadoEmissao", s.certificateIssued},
        {"certificadoVencimento", s.certificateExpires},
        {"cnpjSoftwareHouse", s.softwareHouseCnpj},
        {"assinaturaAC", s.signAC},
        {"estadoOperacao", s.operationState},
        {"versaoSB", s.softwareVersion},
        {"versaoLayout", s.layout},
        {"ultimoNumero", s.lastNumber},
        {"ultimoNumeroTeste", s.lastTestNumber},
        {"ultimaVenda", s.hasLastSale ? json(s.lastSale) : json(nullptr)},
        {"primeiraChave", s.firstKey},
        {"ultimaChave", s.lastKey},
        {"ultimaTransmissao", s.lastTransmission},
        {"ultimaComunicacao", s.lastCommunication},
        {"memoriaUsada", s.storedBytes},
        {"rede", s.network},
        {"sessoes", s.sessions},
        {"resumoUltimaFiscal", s.lastFiscalDigest},
        {"chamadasOcupado", s.busy.calls},
        {"ocupadoPedido", s.busy.setting},
        {"chamadasSemSefaz", s.sefazOutage.calls},
        {"semSefazPedido", s.sefazOutage.setting},
    };
    return j.dump(2, ' ', false, json::error_handler_t::replace);
}

ModuleState fromJson(const std::string& text) {
    const json j = json::parse(text);
    if (j.at("formato").get<int>() != format)
        throw std::invalid_argument("formato de estado desconhecido");
    ModuleState s;
    j.at("serie").get_to(s.serial);
    j.at("ativado").get_to(s.activated);
    j.at("resumoCodigoAtivacao").get_to(s.codeDigest);
    j.at("ativadoEm").get_to(s.activatedAt);
    j.at("contribuinte").get_to(s.taxpayer);
    j.at("chavePrivada").get_to(s.privateKeyPem);
    j.at("certificado").get_to(s.certificatePem);
    j.at("certificadoEmissao").get_to(s.certificateIssued);
    j.at("certificadoVencimento").get_to(s.certificateExpires);
    j.at("cnpjSoftwareHouse").get_to(s.softwareHouseCnpj);
    j.at("assinaturaAC").get_to(s.signAC);
    j.at("estadoOperacao").get_to(s.operationState);
    j.at("versaoSB").get_to(s.softwareVersion);
    j.at("ultimoNumero").get_to(s.lastNumber);
    j.at("ultimoNumeroTeste").get_to(s.lastTestNumber);
    if (const auto& sale = j.at("ultimaVenda"); !sale.is_null()) {
        sale.get_to(s.lastSale);
        s.hasLastSale = true;
    }
    j.at("primeiraChave").get_to(s.firstKey);
    j.at("ultimaChave").get_to(s.lastKey);
    j.at("ultimaTransmissao").get_to(s.lastTransmission);
    j.at("ultimaComunicacao").get_to(s.lastCommunication);
    j.at("memoriaUsada").get_to(s.storedBytes);
    j.at("rede").get_to(s.network);
    j.at("sessoes").get_to(s.sessions);
    // Settings added later: a state file written before them keeps its module.
    s.awaitingCertificate = j.value("aguardandoCertificado", s.awaitingCertificate);
    s.icpBrasil = j.value("certificadoIcpBrasil", s.icpBrasil);
    s.renewalKeyPem = j.value("chavePrivadaRenovacao", s.renewalKeyPem);
    s.layout = j.value("versaoLayout", s.layout);
    s.busy.calls = j.value("chamadasOcupado", s.busy.calls);
    s.busy.setting = j.value("ocupadoPedido", s.busy.setting);
    s.sefazOutage.calls = j.value("chamadasSemSefaz", s.sefazOutage.calls);
    s.sefazOutage.setting = j.value("semSefazPedido", s.sefazOutage.setting);
    s.lastFiscalDigest = j.value("resumoUltimaFiscal", s.lastFiscalDigest);
    const bool knownLayout = std::find(std::begin(layoutVersions), std::end(layoutVersions),
                                       s.layout) != std::end(layoutVersions);
    if (s.serial.size() != 9 || !isDigits(s.serial) || s.operationState < unblocked ||
        s.operationState > blockedForDeactivation || !knownLayout)
        throw std::invalid_argument("estado incoerente");
    return s;
}

} // namespace emulator
