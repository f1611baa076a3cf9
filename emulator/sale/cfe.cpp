#include "emulator/sale/cfe.h"

#include "emulator/sale/fiscal_ids.h"
#include "emulator/sale/fixed_point.h"

namespace emulator {
namespace {

std::string cents(std::int64_t value) {
    return formatDecimal(value, 2);
}

void setAttribute(xmlNode* node, const char* name, const std::string& value) {
    xmlNewProp(node, BAD_CAST name, BAD_CAST value.c_str());
}

// Copies an element of the received document into the issued one: its name without any
// namespace, its attributes, its text or its element children.
xmlNode* copyTree(xmlNode* parent, const xmlNode* source) {
    const std::string name(nameOf(source));
    const std::vector<xmlNode*> children = childElements(source);
    xmlNode* copy = children.empty() ? addText(parent, name.c_str(), textOf(source))
                                     : addElement(parent, name.c_str());
    for (const xmlAttr* a = source->properties; a != nullptr; a = a->next) {
        std::string value;
        attribute(source, reinterpret_cast<const char*>(a->name), value);
        setAttribute(copy, reinterpret_cast<const char*>(a->name), value);
    }
    for (const xmlNode* c : children)
        copyTree(copy, c);
    return copy;
}

void copyChild(xmlNode* parent, const xmlNode* source, std::string_view name) {
    if (const xmlNode* found = child(source, name))
        copyTree(parent, found);
}

void copyChildren(xmlNode* parent, const xmlNode* source) {
    for (const xmlNode* c : childElements(source))
        copyTree(parent, c);
}

xmlNode* writeRoot(XmlDoc& doc, const char* rootName) {
    doc.reset(xmlNewDoc(BAD_CAST "1.0"));
    // Element names shared through a dictionary: a CF-e of hundreds of items repeats a few dozen.
    doc->dict = xmlDictCreate();
    xmlNode* root = xmlNewDocNode(doc.get(), nullptr, BAD_CAST rootName, nullptr);
    xmlDocSetRootElement(doc.get(), root);
    return addElement(root, "infCFe");
}

// The values of ide that come from the point of sale and the QR code.
struct Identification {
    const std::string& softwareHouseCnpj;
    const std::string& signAC;
    const std::string& qrSignature;
    const std::string& cashRegister;
};

// The group ide of an issued document; a cancellation has no tpAmb (empty `environment`).
void writeIdentification(xmlNode* infCFe, const IssueNumbers& n, const std::string& environment,
                         const Identification& from) {
    xmlNode* ide = addElement(infCFe, "ide");
    addText(ide, "cUF", n.cUF);
    addText(ide, "cNF", n.code);
    addText(ide, "mod", "59");
    addText(ide, "nserieSAT", n.serial);
    addText(ide, "nCFe", n.number);
    addText(ide, "dEmi", n.date);
    addText(ide, "hEmi", n.time);
    addText(ide, "cDV", n.key.substr(43));
    if (!environment.empty())
        addText(ide, "tpAmb", environment);
    addText(ide, "CNPJ", from.softwareHouseCnpj);
    addText(ide, "signAC", from.signAC);
    addText(ide, "assinaturaQRCODE", from.qrSignature);
    addText(ide, "numeroCaixa", from.cashRegister);
}

void writeIssuer(xmlNode* parent, const Taxpayer& taxpayer, const std::string& stateRegistration,
                 const std::string& municipalRegistration) {
    xmlNode* emit = addElement(parent, "emit");
    addText(emit, "CNPJ", taxpayer.cnpj);
    addText(emit, "xNome", taxpayer.name);
    if (!taxpayer.fantasyName.empty())
        addText(emit, "xFant", taxpayer.fantasyName);
    xmlNode* address = addElement(emit, "enderEmit");
    addText(address, "xLgr", taxpayer.street);
    addText(address, "nro", taxpayer.number);
    addText(address, "xBairro", taxpayer.district);
    addText(address, "xMun", taxpayer.city);
    addText(address, "CEP", taxpayer.postalCode);
    addText(emit, "IE", stateRegistration);
    if (!municipalRegistration.empty())
        addText(emit, "IM", municipalRegistration);
}

// The customer as the sale names it; a blank name, which the sale is issued with for the alert
// 1234, is left out.
void writeCustomer(xmlNode* infCFe, const Sale& sale) {
    xmlNode* dest = addElement(infCFe, "dest");
    for (const xmlNode* c : childElements(child(sale.infCFe, "dest"))) {
        if (nameOf(c) != "xNome" || sale.alert != 1234)
            copyTree(dest, c);
    }
}

void writeProduct(xmlNode* det, const SaleItem& item) {
    const xmlNode* source = child(item.det, "prod");
    xmlNode* prod = addElement(det, "prod");
    for (const char* name :
         {"cProd", "cEAN", "xProd", "NCM", "CEST", "CFOP", "uCom", "qCom", "vUnCom"})
        copyChild(prod, source, name);
    addText(prod, "vProd", cents(item.gross));
    for (const char* name : {"indRegra", "vDesc", "vOutro"})
        copyChild(prod, source, name);
    addText(prod, "vItem", cents(item.net));
    // Devices write both apportionments on every item, 0.00 without a subtotal discount or
    // increase.
    addText(prod, "vRatDesc", cents(item.subtotalDiscount));
    addText(prod, "vRatAcr", cents(item.subtotalAddition));
    for (const xmlNode* c : childElements(source)) {
        if (nameOf(c) == "obsFiscoDet")
            copyTree(prod, c);
    }
}

// A PIS or COFINS family (or its ST group): the received elements, with a percentage rate
// written with the four decimals the issued layout requires (the sale may give fewer), then
// the computed value.
void writeTax(xmlNode* parent, const xmlNode* source, const TaxRate& tax, const char* valueName,
              bool nested) {
    if (source == nullptr)
        return;
    xmlNode* family = addElement(parent, std::string(nameOf(source)).c_str());
    const xmlNode* group = nested ? childElements(source).front() : source;
    xmlNode* target = nested ? addElement(family, std::string(nameOf(group)).c_str()) : family;
    for (const xmlNode* c : childElements(group)) {
        const std::string name(nameOf(c));
        if (name == "pPIS" || name == "pCOFINS")
            addText(target, name.c_str(), formatDecimal(tax.rate, 4));
        else
            copyTree(target, c);
    }
    if (tax.kind != TaxRate::Kind::None)
        addText(target, valueName, cents(tax.value));
}

// The ISSQN rate as the layout writes it, with three integer digits ("005.00").
std::string issRate(std::int64_t hundredths) {
    std::string text = formatDecimal(hundredths, 2);
    return std::string(text.size() < 6 ? 6 - text.size() : 0, '0') + text;
}

void writeTaxes(xmlNode* det, const SaleItem& item) {
    const xmlNode* source = child(item.det, "imposto");
    xmlNode* taxes = addElement(det, "imposto");
    copyChild(taxes, source, "vItem12741");
    if (const xmlNode* icms = child(source, "ICMS")) {
        const xmlNode* group = childElements(icms).front();
        xmlNode* target = addElement(addElement(taxes, "ICMS"), std::string(nameOf(group)).c_str());
        copyChildren(target, group);
        if (item.icmsRated)
            addText(target, "vICMS", cents(item.icms));
    } else {
        const xmlNode* iss = child(source, "ISSQN");
        xmlNode* target = addElement(taxes, "ISSQN");
        copyChild(target, iss, "vDeducISSQN");
        addText(target, "vBC", cents(item.issBase));
        addText(target, "vAliq", issRate(item.issRate));
        addText(target, "vISSQN", cents(item.iss));
        for (const char* name : {"cMunFG", "cListServ", "cServTribMun", "cNatOp", "indIncFisc"})
            copyChild(target, iss, name);
    }
    writeTax(taxes, child(source, "PIS"), item.pis, "vPIS", true);
    writeTax(taxes, child(source, "PISST"), item.pisSt, "vPIS", false);
    writeTax(taxes, child(source, "COFINS"), item.cofins, "vCOFINS", true);
    writeTax(taxes, child(source, "COFINSST"), item.cofinsSt, "vCOFINS", false);
}

void writeContributions(xmlNode* parent, const ContributionTotals& sums) {
    addText(parent, "vPIS", cents(sums.pis));
    addText(parent, "vCOFINS", cents(sums.cofins));
    addText(parent, "vPISST", cents(sums.pisSt));
    addText(parent, "vCOFINSST", cents(sums.cofinsSt));
}

void writeTotals(xmlNode* infCFe, const Sale& sale) {
    const SaleTotals& t = sale.totals;
    xmlNode* total = addElement(infCFe, "total");
    xmlNode* icms = addElement(total, "ICMSTot");
    addText(icms, "vICMS", cents(t.icms));
    addText(icms, "vProd", cents(t.gross));
    addText(icms, "vDesc", cents(t.discount));
    writeContributions(icms, t.icmsItems);
    addText(icms, "vOutro", cents(t.other));
    addText(total, "vCFe", cents(t.total));
    if (t.hasIssqn) {
        xmlNode* iss = addElement(total, "ISSQNtot");
        addText(iss, "vBC", cents(t.issBase));
        addText(iss, "vISS", cents(t.iss));
        writeContributions(iss, t.issItems);
    }
    const xmlNode* source = child(sale.infCFe, "total");
    copyChild(total, source, "DescAcrEntr");
    copyChild(total, source, "vCFeLei12741");
}

} // namespace

void composeKey(IssueNumbers& n) {
    std::string digits = n.cUF + n.date.substr(2, 4) + n.cnpj + "59" + n.serial + n.number + n.code;
    digits += accessKeyCheckDigit(digits);
    n.key = digits;
}

std::string qrCodeText(const std::string& key, const std::string& stamp, const std::string& total,
                       const std::string& customer) {
    return key + stamp + total + customer;
}

XmlDoc writeCfe(const Sale& sale, const CfeIssue& issue, const Taxpayer& taxpayer) {
    XmlDoc doc;
    xmlNode* infCFe = writeRoot(doc, "CFe");
    const IssueNumbers& n = issue.numbers;
    setAttribute(infCFe, "Id", "CFe" + n.key);
    setAttribute(infCFe, "versao", issue.layout);
    setAttribute(infCFe, "versaoDadosEnt", sale.layout);
    setAttribute(infCFe, "versaoSB", issue.softwareVersion);

    writeIdentification(
        infCFe, n, issue.environment,
        {sale.softwareHouseCnpj, sale.signAC, issue.qrSignature, sale.cashRegister});

    writeIssuer(infCFe, taxpayer, sale.stateRegistration, sale.municipalRegistration);
    xmlNode* emit = child(infCFe, "emit");
    addText(emit, "cRegTrib", taxpayer.taxRegime);
    copyChild(emit, child(sale.infCFe, "emit"), "cRegTribISSQN");
    copyChild(emit, child(sale.infCFe, "emit"), "indRatISSQN");

    writeCustomer(infCFe, sale);
    copyChild(infCFe, sale.infCFe, "entrega");
    for (const SaleItem& item : sale.items) {
        xmlNode* det = addElement(infCFe, "det");
        setAttribute(det, "nItem", std::to_string(item.number));
        writeProduct(det, item);
        writeTaxes(det, item);
        copyChild(det, item.det, "infAdProd");
    }
    writeTotals(infCFe, sale);

    xmlNode* payment = addElement(infCFe, "pgto");
    copyChildren(payment, child(sale.infCFe, "pgto"));
    addText(payment, "vTroco", cents(sale.totals.change));
    copyChild(infCFe, sale.infCFe, "infAdic");
    return doc;
}

XmlDoc writeCancellation(const CancellationIssue& issue, const LastSale& sale,
                         const Taxpayer& taxpayer) {
    XmlDoc doc;
    xmlNode* infCFe = writeRoot(doc, "CFeCanc");
    const IssueNumbers& n = issue.numbers;
    setAttribute(infCFe, "Id", "CFe" + n.key);
    setAttribute(infCFe, "chCanc", "CFe" + sale.key);
    setAttribute(infCFe, "versao", issue.layout);
    addText(infCFe, "dEmi", sale.date);
    addText(infCFe, "hEmi", sale.time);

    writeIdentification(
        infCFe, n, {},
        {issue.softwareHouseCnpj, issue.signAC, issue.qrSignature, issue.cashRegister});

    writeIssuer(infCFe, taxpayer, sale.stateRegistration, sale.municipalRegistration);
    xmlNode* dest = addElement(infCFe, "dest");
    if (!sale.customerCnpj.empty())
        addText(dest, "CNPJ", sale.customerCnpj);
    else if (!sale.customerCpf.empty())
        addText(dest, "CPF", sale.customerCpf);
    addText(addElement(infCFe, "total"), "vCFe", sale.total);
    return doc;
}

xmlNode* signedPart(xmlDoc* doc) {
    return child(xmlDocGetRootElement(doc), "infCFe");
}

} // namespace emulator
