// The fiscal operations: the sale, the end-to-end test and the cancellation of the last sale.

#include "emulator/module/module.h"

#include "emulator/sale/cancellation.h"
#include "emulator/sale/crypto.h"
#include "emulator/sale/fiscal_ids.h"
#include "emulator/sale/fixed_point.h"
#include "emulator/sale/signature.h"

#include <algorithm>

namespace emulator {
namespace {

constexpr std::size_t maxDocumentBytes = 1500 * 1024;
constexpr std::size_t maxItems = 500;
constexpr std::int64_t cancellationWindow = 30 * 60;

// The result code a blocked module gives a sale ("006", "007", "008") or a cancellation
// ("003", "004", "005"); empty when it is not blocked.
std::string blockedResult(int operationState, bool sale) {
    switch (operationState) {
    case blockedByTaxpayer:
        return sale ? "006" : "003";
    case blockedBySefaz:
    case blockedForDeactivation:
        return sale ? "007" : "004";
    case blockedAutonomously:
        return sale ? "008" : "005";
    default:
        return {};
    }
}

std::string cccc(int code) {
    return code == 0 ? "0000" : std::to_string(code);
}

Answer rejected(int sessao, const std::string& code, const Rejection& rejection) {
    return AnswerBuilder(sessao, code)
        .add(cccc(rejection.code))
        .add(standardMessage(code))
        .add("")
        .add(rejectionMessage(rejection))
        .done();
}

// Parses a document from the point of sale; null, with `rejection` saying why, when it is not
// well-formed or too large.
XmlDoc parsedDocument(std::string_view dados, Rejection& rejection) {
    ParsedXml parsed = parseUntrusted(dados, maxDocumentBytes);
    if (!parsed.doc)
        rejection = {1999, 0, parsed.error};
    return std::move(parsed.doc);
}

// Reads a parsed sale and checks its content; on failure `rejection` holds why.
std::optional<Sale> saleOf(const XmlDoc& doc, const std::string& layout, Rejection& rejection) {
    auto read = readSale(doc.get(), layout);
    if (auto* r = std::get_if<Rejection>(&read)) {
        rejection = *r;
        return std::nullopt;
    }
    if (std::get<Sale>(read).items.size() > maxItems) {
        rejection = {1999, 0, "O CF-e admite no máximo 500 itens"};
        return std::nullopt;
    }
    return std::get<Sale>(std::move(read));
}

std::string signedXml(XmlDoc doc, const std::string& key, const ModuleState& state) {
    signEnveloped(doc.get(), signedPart(doc.get()), "CFe" + key, state.privateKeyPem,
                  state.certificatePem);
    return serialize(doc.get());
}

std::string softwareDigits(const std::string& version) {
    std::string digits = version;
    digits.erase(std::remove(digits.begin(), digits.end(), '.'), digits.end());
    return digits;
}

std::string customerOf(const Sale& sale) {
    return sale.customerCnpj.empty() ? sale.customerCpf : sale.customerCnpj;
}

} // namespace

IssueNumbers Module::nextNumbers(int& counter) {
    IssueNumbers n;
    char uf[8];
    std::snprintf(uf, sizeof uf, "%02d", state_.taxpayer.cUF);
    n.cUF = uf;
    n.date = dateOf(now_);
    n.time = timeOf(now_);
    n.cnpj = state_.taxpayer.cnpj;
    n.serial = state_.serial;
    n.number = nextNumber(counter);
    n.code = randomDigits(6);
    composeKey(n);
    return n;
}

IssuedCfe Module::issueCfe(const Sale& sale, int& counter) {
    IssuedCfe cfe;
    cfe.numbers = nextNumbers(counter);
    cfe.stamp = cfe.numbers.date + cfe.numbers.time;
    cfe.total = formatDecimal(sale.totals.total, 2);
    cfe.customer = customerOf(sale);
    cfe.qr = signBase64(state_.privateKeyPem,
                        qrCodeText(cfe.numbers.key, cfe.stamp, cfe.total, cfe.customer));
    cfe.xml = signedXml(
        writeCfe(sale,
                 {cfe.numbers, "2", softwareDigits(state_.softwareVersion), cfe.qr, state_.layout},
                 state_.taxpayer),
        cfe.numbers.key, state_);
    return cfe;
}

Answer Module::enviarDadosVenda(int sessao, std::string_view codigo, std::string_view dados) {
    if (!state_.activated)
        return documentErrorAnswer(sessao, "06002");
    if (refuseCode(Op::EnviarDadosVenda, sessao, codigo))
        return documentErrorAnswer(sessao, "06001");
    if (const std::string blocked = blockedResult(state_.operationState, true); !blocked.empty())
        return documentErrorAnswer(sessao, "06" + blocked);
    if (dados.size() > maxDocumentBytes)
        return documentErrorAnswer(sessao, "06005");
    if (state_.signAC.empty())
        return documentErrorAnswer(sessao, "06003");
    Rejection rejection{0};
    const XmlDoc input = parsedDocument(dados, rejection);
    if (!input)
        return rejected(sessao, "06010", rejection);
    // Who sends the sale and for whom are checked before its content.
    const auto parties = readSaleParties(input.get());
    if (const auto* r = std::get_if<Rejection>(&parties))
        return rejected(sessao, "06010", *r);
    const auto& [softwareHouseCnpj, signAC, issuerCnpj] = std::get<SaleParties>(parties);
    if (softwareHouseCnpj != state_.softwareHouseCnpj || signAC != state_.signAC)
        return documentErrorAnswer(sessao, "06004");
    if (issuerCnpj != state_.taxpayer.cnpj)
        return rejected(sessao, "06010", {isCnpj(issuerCnpj) ? 1203 : 1207});
    const std::optional<Sale> sale = saleOf(input, state_.layout, rejection);
    if (!sale)
        return rejected(sessao, "06010", rejection);

    const IssuedCfe cfe = issueCfe(*sale, state_.lastNumber);
    state_.hasLastSale = true;
    state_.lastSale = {cfe.numbers.key,
                       cfe.numbers.date,
                       cfe.numbers.time,
                       secondsOf(now_),
                       cfe.total,
                       sale->customerCnpj,
                       sale->customerCpf,
                       sale->stateRegistration,
                       sale->municipalRegistration,
                       false};
    if (state_.firstKey.empty())
        state_.firstKey = cfe.numbers.key;
    state_.lastKey = cfe.numbers.key;
    state_.lastTransmission = state_.lastCommunication = stampOf(now_);
    state_.storedBytes += cfe.xml.size();
    return AnswerBuilder(sessao, "06000")
        .add(cccc(sale->alert))
        .add(standardMessage("06000"))
        .add("")
        .add(rejectionText(sale->alert))
        .add(base64Encode(cfe.xml))
        .add(cfe.stamp)
        .add("CFe" + cfe.numbers.key)
        .add(cfe.total)
        .add(cfe.customer)
        .add(cfe.qr)
        .done();
}

Answer Module::testeFimAFim(int sessao, std::string_view codigo, std::string_view dados) {
    if (!state_.activated)
        return standardAnswer(sessao, "09002");
    if (auto refused = refuseCode(Op::TesteFimAFim, sessao, codigo))
        return *refused;
    Rejection rejection{0};
    const XmlDoc input = parsedDocument(dados, rejection);
    const std::optional<Sale> sale = input ? saleOf(input, state_.layout, rejection) : std::nullopt;
    // The end-to-end test has no content-error code of its own: its unknown error, with the
    // rejection's code and text in cod and mensagemSEFAZ.
    if (!sale)
        return AnswerBuilder(sessao, "09099")
            .add(standardMessage("09099"))
            .add(cccc(rejection.code))
            .add(rejectionMessage(rejection))
            .done();

    // A test document has a numbering of its own and leaves the fiscal records untouched.
    const IssuedCfe cfe = issueCfe(*sale, state_.lastTestNumber);
    state_.lastCommunication = stampOf(now_);
    return AnswerBuilder(sessao, "09000")
        .add(standardMessage("09000"))
        .add("")
        .add("")
        .add(base64Encode(cfe.xml))
        .add(cfe.stamp)
        .add(cfe.numbers.number)
        .add("CFe" + cfe.numbers.key)
        .done();
}

Answer Module::cancelarUltimaVenda(int sessao, std::string_view codigo, std::string_view chave,
                                   std::string_view dados) {
    if (refuseCode(Op::CancelarUltimaVenda, sessao, codigo))
        return documentErrorAnswer(sessao, "07001");
    if (const std::string blocked = blockedResult(state_.operationState, false); !blocked.empty())
        return documentErrorAnswer(sessao, "07" + blocked);
    LastSale& sale = state_.lastSale;
    if (!state_.hasLastSale || chave != "CFe" + sale.key)
        return documentErrorAnswer(sessao, "07002", "A chave não é a da última venda");
    if (sale.cancelled)
        return rejected(sessao, "07007", {1218});
    if (secondsOf(now_) - sale.issuedAt > cancellationWindow) {
        // Devices answer this with an unexplained 07099; the reason goes to the log only.
        Answer late = AnswerBuilder(sessao, "07099").add("0000").add("").add("").add("").done();
        late.logNote = "cancelamento recusado: mais de 30 minutos desde a venda";
        return late;
    }

    Rejection rejection{0};
    const XmlDoc input = parsedDocument(dados, rejection);
    if (!input)
        return rejected(sessao, "07007", rejection);
    auto read = readCancellationRequest(input.get(), state_.layout);
    if (auto* r = std::get_if<Rejection>(&read))
        return rejected(sessao, "07007", *r);
    const CancellationRequest& request = std::get<CancellationRequest>(read);
    if (request.key != chave)
        return rejected(sessao, "07007", {1999, 0, "chCanc difere da chave informada"});
    if (state_.signAC.empty() || request.softwareHouseCnpj != state_.softwareHouseCnpj)
        return rejected(sessao, "07007", {1221});
    if (request.signAC != state_.signAC)
        return rejected(sessao, "07007", {1455});

    const IssueNumbers numbers = nextNumbers(state_.lastNumber);
    const std::string stamp = numbers.date + numbers.time;
    const std::string customer = sale.customerCnpj.empty() ? sale.customerCpf : sale.customerCnpj;
    const std::string qr =
        signBase64(state_.privateKeyPem, qrCodeText(numbers.key, stamp, sale.total, customer));
    const std::string xml =
        signedXml(writeCancellation({numbers, qr, request.softwareHouseCnpj, request.signAC,
                                     request.cashRegister, state_.layout},
                                    sale, state_.taxpayer),
                  numbers.key, state_);

    sale.cancelled = true;
    state_.lastKey = numbers.key;
    state_.lastTransmission = state_.lastCommunication = stampOf(now_);
    state_.storedBytes += xml.size();
    return AnswerBuilder(sessao, "07000")
        .add("0000")
        .add(standardMessage("07000"))
        .add("")
        .add("")
        .add(base64Encode(xml))
        .add(stamp)
        .add("CFe" + numbers.key)
        .add(sale.total)
        .add(customer)
        .add(qr)
        .done();
}

} // namespace emulator
