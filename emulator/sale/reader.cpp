#include "emulator/module/state.h"
#include "emulator/sale/fiscal_ids.h"
#include "emulator/sale/fixed_point.h"
#include "emulator/sale/sale.h"
#include "emulator/sale/structure.h"
#include "emulator/sale/xml.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>

namespace emulator {
namespace {

// The reader stops at the first fault by throwing it; readSale turns it into its result.
[[noreturn]] void reject(int code, int item = 0, std::string detail = {}) {
    throw Rejection{code, item, std::move(detail)};
}

bool oneOf(const std::string& value, std::initializer_list<std::string_view> values) {
    return std::find(values.begin(), values.end(), value) != values.end();
}

bool blank(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

// The length of a UTF-8 text in characters, as the layout counts it (not in bytes).
std::size_t characters(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// The text of a required element that must not be blank nor longer than `max` characters.
std::string filled(const xmlNode* parent, const char* name, std::size_t max, int code, int item) {
    std::string text = childText(parent, name);
    if (blank(text) || characters(text) > max)
        reject(code, item, std::string(name) + " em branco ou longo demais");
    return text;
}

std::int64_t decimal(const xmlNode* parent, const char* name, DecimalShape shape, int scale,
                     int code, int item) {
    const std::string text = childText(parent, name);
    const auto value = parseDecimal(text, shape, scale);
    if (!value)
        reject(code, item, std::string(name) + " fora do padrão: " + text);
    return *value;
}

std::int64_t money(const xmlNode* parent, const char* name, int code, int item = 0) {
    return decimal(parent, name, moneyShape, 2, code, item);
}

std::int64_t optionalMoney(const xmlNode* parent, const char* name, int code, int item = 0) {
    return child(parent, name) ? money(parent, name, code, item) : 0;
}

void requireCode(const xmlNode* parent, const char* name,
                 std::initializer_list<std::string_view> values, int code, int item) {
    if (!oneOf(childText(parent, name), values))
        reject(code, item, std::string(name) + " fora do padrão: " + childText(parent, name));
}

void requireDigits(const xmlNode* parent, const char* name, std::size_t length, int code,
                   int item) {
    const std::string text = childText(parent, name);
    if (!isDigits(text) || text.size() != length)
        reject(code, item, std::string(name) + " fora do padrão: " + text);
}

// Rejection codes of one PIS or COFINS family: the CST codes of each group, then the base,
// rate, quantity and quantity-rate faults.
struct TaxCodes {
    const char* prefix;   // "PIS" or "COFINS"
    const char* rateName; // "pPIS" or "pCOFINS"
    int rateCst, quantityCst, untaxedCst, simpleCst, otherCst;
    int base, rate, quantity, quantityRate;
};

constexpr TaxCodes pisCodes{"PIS", "pPIS", 1478, 1482, 1486, 1487, 1488, 1479, 1480, 1483, 1484};
constexpr TaxCodes cofinsCodes{"COFINS", "pCOFINS", 1490, 1494, 1498, 1499,
                               1500,     1491,      1492, 1483, 1496};

constexpr DecimalShape taxRateShape{1, 1, 4};
constexpr DecimalShape quantityShape{12, 4, 4};
constexpr DecimalShape quantityRateShape{11, 4, 4};

// The base/rate pair of a group that may take either vBC with a rate or qBCProd with a value
// per unit (the Outr and ST groups).
TaxRate readPair(const xmlNode* group, const TaxCodes& codes, int item) {
    TaxRate tax;
    if (child(group, "vBC")) {
        if (!child(group, codes.rateName))
            reject(1999, item, std::string("vBC de ") + codes.prefix + " sem " + codes.rateName);
        tax.kind = TaxRate::Kind::Rate;
        tax.base = money(group, "vBC", codes.base, item);
        tax.rate = decimal(group, codes.rateName, taxRateShape, 4, codes.rate, item);
    } else {
        if (!child(group, "vAliqProd"))
            reject(1999, item, std::string("qBCProd de ") + codes.prefix + " sem vAliqProd");
        tax.kind = TaxRate::Kind::Quantity;
        tax.base = decimal(group, "qBCProd", quantityShape, 4, codes.quantity, item);
        tax.rate = decimal(group, "vAliqProd", quantityRateShape, 4, codes.quantityRate, item);
    }
    return tax;
}

TaxRate readTax(const xmlNode* family, const TaxCodes& codes, int item) {
    const xmlNode* group = childElements(family).front();
    const std::string kind = std::string(nameOf(group)).substr(std::string(codes.prefix).size());
    TaxRate tax;
    if (kind == "Aliq") {
        requireCode(group, "CST", {"01", "02", "05"}, codes.rateCst, item);
        tax.kind = TaxRate::Kind::Rate;
        tax.base = money(group, "vBC", codes.base, item);
        tax.rate = decimal(group, codes.rateName, taxRateShape, 4, codes.rate, item);
    } else if (kind == "Qtde") {
        requireCode(group, "CST", {"03"}, codes.quantityCst, item);
        tax.kind = TaxRate::Kind::Quantity;
        tax.base = decimal(group, "qBCProd", quantityShape, 4, codes.quantity, item);
        tax.rate = decimal(group, "vAliqProd", quantityRateShape, 4, codes.quantityRate, item);
    } else if (kind == "NT") {
        requireCode(group, "CST", {"04", "06", "07", "08", "09"}, codes.untaxedCst, item);
    } else if (kind == "SN") {
        requireCode(group, "CST", {"49"}, codes.simpleCst, item);
    } else {
        requireCode(group, "CST", {"99"}, codes.otherCst, item);
        tax = readPair(group, codes, item);
    }
    return tax;
}

void readIcms(const xmlNode* icms, SaleItem& item) {
    const xmlNode* group = childElements(icms).front();
    const std::string_view kind = nameOf(group);
    const int n = item.number;
    requireCode(group, "Orig", {"0", "1", "2"}, 1471, n);
    if (kind == "ICMS00")
        requireCode(group, "CST", {"00", "20", "90"}, 1472, n);
    else if (kind == "ICMS40")
        requireCode(group, "CST", {"40", "41", "60"}, 1475, n);
    else if (kind == "ICMSSN102")
        requireCode(group, "CSOSN", {"102", "300", "400", "500"}, 1476, n);
    else
        requireCode(group, "CSOSN", {"900"}, 1477, n);
    item.icmsRated = child(group, "pICMS") != nullptr;
    if (item.icmsRated)
        item.icmsRate = decimal(group, "pICMS", {3, 2, 2}, 2, 1473, n);
}

void readIssqn(const xmlNode* iss, SaleItem& item) {
    const int n = item.number;
    item.issqn = true;
    item.issDeduction = money(iss, "vDeducISSQN", 1503, n);
    // The rate's pattern (three integer digits) and its range are two faults under one code; the
    // code's text names the range only, so a rate off the pattern is said in words of its own.
    const std::string rate = childText(iss, "vAliq");
    const auto issRate = parseDecimal(rate, {3, 2, 2, 3}, 2);
    if (!issRate)
        throw Rejection{1505,
                        n,
                        {},
                        "Rejeição: Alíquota efetiva do ISSQN do item (" + std::to_string(n) +
                            ") fora do padrão NNN.NN (três dígitos inteiros e dois decimais, "
                            "como 005.00): " +
                            rate};
    item.issRate = *issRate;
    if (item.issRate < 200 || item.issRate > 500)
        reject(1505, n);
    if (child(iss, "cMunFG"))
        requireDigits(iss, "cMunFG", 7, 1287, n);
    if (child(iss, "cListServ") && characters(childText(iss, "cListServ")) != 5)
        reject(1508, n);
    if (const xmlNode* code = child(iss, "cServTribMun")) {
        if (blank(textOf(code)))
            reject(1509, n);
        if (characters(textOf(code)) != 20)
            reject(1999, n, "cServTribMun deve ter 20 caracteres");
    }
    requireCode(iss, "cNatOp", {"01", "02", "03", "04", "05", "06", "07", "08"}, 1457, n);
    requireCode(iss, "indIncFisc", {"1", "2"}, 1511, n);
}

void readProduct(const xmlNode* prod, SaleItem& item) {
    const int n = item.number;
    filled(prod, "cProd", 60, 1459, n);
    if (child(prod, "cEAN")) {
        const std::string ean = childText(prod, "cEAN");
        if (!isGtin(ean) && ean != "SEM GTIN")
            reject(1460, n);
    }
    filled(prod, "xProd", 120, 1461, n);
    if (const std::string ncm = childText(prod, "NCM");
        child(prod, "NCM") && !(isDigits(ncm) && (ncm.size() == 2 || ncm.size() == 8)))
        reject(1999, n, "NCM fora do padrão: " + ncm);
    if (child(prod, "CEST"))
        requireDigits(prod, "CEST", 7, 1999, n);
    const std::string cfop = childText(prod, "CFOP");
    if (!isDigits(cfop) || cfop.size() != 4 || cfop.front() != '5')
        reject(1462, n, "CFOP " + cfop);
    filled(prod, "uCom", 6, 1463, n);
    item.quantity = decimal(prod, "qCom", {11, 4, 4}, 4, 1464, n);
    if (item.quantity == 0)
        reject(1464, n);
    item.unitPrice = decimal(prod, "vUnCom", {12, 2, 3}, 3, 1465, n);
    requireCode(prod, "indRegra", {"A", "T"}, 1467, n);
    item.truncate = childText(prod, "indRegra") == "T";
    item.discount = optionalMoney(prod, "vDesc", 1468, n);
    item.other = optionalMoney(prod, "vOutro", 1469, n);
    for (const xmlNode* obs : childElements(prod)) {
        std::string field;
        if (nameOf(obs) == "obsFiscoDet" &&
            (!attribute(obs, "xCampoDet", field) || field.empty() || characters(field) > 20 ||
             blank(childText(obs, "xTextoDet")) || characters(childText(obs, "xTextoDet")) > 60))
            reject(1999, n, "obsFiscoDet fora do padrão");
    }
}

SaleItem readItem(const xmlNode* det, int expected) {
    SaleItem item;
    item.det = det;
    item.number = expected;
    std::string number;
    if (!attribute(det, "nItem", number) || !isDigits(number) || number.size() > 6 ||
        std::stoi(number) != expected)
        reject(1019, 0, "nItem " + number + " onde se esperava " + std::to_string(expected));
    readProduct(child(det, "prod"), item);
    const xmlNode* taxes = child(det, "imposto");
    if (child(taxes, "vItem12741"))
        money(taxes, "vItem12741", 1534, expected);
    if (const xmlNode* icms = child(taxes, "ICMS"))
        readIcms(icms, item);
    else
        readIssqn(child(taxes, "ISSQN"), item);
    item.pis = readTax(child(taxes, "PIS"), pisCodes, expected);
    if (const xmlNode* st = child(taxes, "PISST"))
        item.pisSt = readPair(st, pisCodes, expected);
    item.cofins = readTax(child(taxes, "COFINS"), cofinsCodes, expected);
    if (const xmlNode* st = child(taxes, "COFINSST"))
        item.cofinsSt = readPair(st, cofinsCodes, expected);
    if (child(det, "infAdProd"))
        filled(det, "infAdProd", 500, 1999, expected);
    return item;
}

// The shortest and longest text the layout allows an element of the delivery address.
std::pair<std::size_t, std::size_t> deliveryLength(std::string_view name) {
    if (name == "UF")
        return {2, 2};
    if (name == "nro" || name == "xCpl")
        return {1, 60};
    return {2, 60}; // xLgr, xBairro, xMun
}

void readHeader(const xmlNode* infCFe, std::string_view moduleLayout, Sale& sale) {
    if (!attribute(infCFe, "versaoDadosEnt", sale.layout) ||
        !acceptsLayout(moduleLayout, sale.layout))
        reject(1004, 0,
               "versaoDadosEnt " + sale.layout + "; o módulo trabalha com o leiaute " +
                   std::string(moduleLayout));
    const xmlNode* ide = child(infCFe, "ide");
    sale.softwareHouseCnpj = childText(ide, "CNPJ");
    if (!isCnpj(sale.softwareHouseCnpj))
        reject(1224);
    sale.signAC = filled(ide, "signAC", 344, 1455, 0);
    requireDigits(ide, "numeroCaixa", 3, 1999, 0);
    sale.cashRegister = childText(ide, "numeroCaixa");

    const xmlNode* emit = child(infCFe, "emit");
    sale.issuerCnpj = childText(emit, "CNPJ");
    if (!isCnpj(sale.issuerCnpj))
        reject(1207);
    sale.stateRegistration = childText(emit, "IE");
    if (blank(sale.stateRegistration))
        reject(1229);
    // The published layout gives the IE exactly 12 characters.
    if (!isDigits(sale.stateRegistration) || sale.stateRegistration.size() != 12)
        reject(1209, 0, "IE deve ter 12 dígitos");
    if (child(emit, "IM"))
        sale.municipalRegistration = filled(emit, "IM", 15, 1999, 0);
    if (child(emit, "cRegTribISSQN"))
        requireCode(emit, "cRegTribISSQN", {"1", "2", "3", "4", "5", "6"}, 1456, 0);
    requireCode(emit, "indRatISSQN", {"S", "N"}, 1507, 0);

    const xmlNode* dest = child(infCFe, "dest");
    if (child(dest, "CNPJ") && !isCnpj(sale.customerCnpj = childText(dest, "CNPJ")))
        reject(1235);
    if (child(dest, "CPF") && !isCpf(sale.customerCpf = childText(dest, "CPF")))
        reject(1237);
    if (const xmlNode* name = child(dest, "xNome")) {
        if (blank(textOf(name)))
            sale.alert = 1234;
        else if (characters(textOf(name)) < 2 || characters(textOf(name)) > 60)
            reject(1999, 0, "xNome do destinatário deve ter de 2 a 60 caracteres");
    }
    if (const xmlNode* delivery = child(infCFe, "entrega")) {
        for (const xmlNode* field : childElements(delivery)) {
            const std::string_view name = nameOf(field);
            const auto [shortest, longest] = deliveryLength(name);
            const std::size_t length = characters(textOf(field));
            if (blank(textOf(field)) || length < shortest || length > longest)
                reject(1999, 0, "entrega/" + std::string(name) + " fora do padrão");
        }
    }
}

void readClosing(const xmlNode* infCFe, Sale& sale) {
    const xmlNode* total = child(infCFe, "total");
    if (const xmlNode* adjust = child(total, "DescAcrEntr")) {
        sale.subtotalDiscount = optionalMoney(adjust, "vDescSubtot", 1073);
        sale.subtotalAddition = optionalMoney(adjust, "vAcresSubtot", 1074);
    }
    if (child(total, "vCFeLei12741"))
        money(total, "vCFeLei12741", 1533);
    for (const xmlNode* mp : childElements(child(infCFe, "pgto"))) {
        requireCode(mp, "cMP",
                    {"01", "02", "03", "04", "05", "10", "11", "12", "13", "15", "16", "17", "18",
                     "19", "90", "99"},
                    1527, 0);
        sale.payments.push_back(money(mp, "vMP", 1528));
        if (child(mp, "cAdmC"))
            requireDigits(mp, "cAdmC", 3, 1535, 0);
    }
    if (const xmlNode* extra = child(infCFe, "infAdic"); extra && child(extra, "infCpl"))
        filled(extra, "infCpl", 5000, 1999, 0);
}

} // namespace

bool acceptsLayout(std::string_view moduleLayout, std::string_view versaoDadosEnt) {
    const auto begin = std::begin(layoutVersions);
    const auto own = std::find(begin, std::end(layoutVersions), moduleLayout);
    return own != std::end(layoutVersions) && std::find(begin, own + 1, versaoDadosEnt) != own + 1;
}

std::variant<SaleParties, Rejection> readSaleParties(const xmlDoc* doc) {
    const xmlNode* root = xmlDocGetRootElement(doc);
    StructureError structure;
    if (!checkStructure(root, DocumentKind::Sale, structure))
        return rejectionOf(structure);
    const xmlNode* infCFe = child(root, "infCFe");
    const xmlNode* ide = child(infCFe, "ide");
    return SaleParties{childText(ide, "CNPJ"), childText(ide, "signAC"),
                       childText(child(infCFe, "emit"), "CNPJ")};
}

std::variant<Sale, Rejection> readSale(const xmlDoc* doc, std::string_view moduleLayout) {
    const xmlNode* root = xmlDocGetRootElement(doc);
    StructureError structure;
    if (!checkStructure(root, DocumentKind::Sale, structure))
        return rejectionOf(structure);
    try {
        Sale sale;
        sale.infCFe = child(root, "infCFe");
        readHeader(sale.infCFe, moduleLayout, sale);
        int number = 0;
        for (const xmlNode* det : childElements(sale.infCFe)) {
            if (nameOf(det) == "det")
                sale.items.push_back(readItem(det, ++number));
        }
        const bool anyIssqn = std::any_of(sale.items.begin(), sale.items.end(),
                                          [](const SaleItem& i) { return i.issqn; });
        if (anyIssqn && sale.municipalRegistration.empty())
            reject(1501);
        readClosing(sale.infCFe, sale);
        auto totals = computeSale(sale);
        if (auto* rejection = std::get_if<Rejection>(&totals))
            return *rejection;
        sale.totals = std::get<SaleTotals>(totals);
        return sale;
    } catch (const Rejection& rejection) {
        return rejection;
    }
}

} // namespace emulator
