#include "receipt/issued_documents.h"

#include "receipt/receipt_text.h"
#include "xml/xml_paths.h"
#include "xml/xml_security.h"

#include <algorithm>

namespace receipt {
namespace {

using xml::attribute;
using xml::childElement;

std::string text(const xmlNode* parent, std::string_view name) {
    return xml::textContent(childElement(parent, name));
}

bool isKey(std::string_view id) {
    return id.size() == 47 && id.substr(0, 3) == "CFe" &&
           std::all_of(id.begin() + 3, id.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The state's abbreviation for the IBGE code of cUF.
std::string stateOf(std::string_view cUF) {
    static constexpr std::pair<std::string_view, std::string_view> states[] = {
        {"11", "RO"}, {"12", "AC"}, {"13", "AM"}, {"14", "RR"}, {"15", "PA"}, {"16", "AP"},
        {"17", "TO"}, {"21", "MA"}, {"22", "PI"}, {"23", "CE"}, {"24", "RN"}, {"25", "PB"},
        {"26", "PE"}, {"27", "AL"}, {"28", "SE"}, {"29", "BA"}, {"31", "MG"}, {"32", "ES"},
        {"33", "RJ"}, {"35", "SP"}, {"41", "PR"}, {"42", "SC"}, {"43", "RS"}, {"50", "MS"},
        {"51", "MT"}, {"52", "GO"}, {"53", "DF"}};
    for (const auto& [code, uf] : states) {
        if (code == cUF)
            return std::string(uf);
    }
    return {};
}

Issuer readIssuer(const xmlNode* emit, const std::string& cUF) {
    const xmlNode* address = childElement(emit, "enderEmit");
    return {text(emit, "xFant"),   text(emit, "xNome"),   text(address, "xLgr"),
            text(address, "nro"),  text(address, "xCpl"), text(address, "xBairro"),
            text(address, "xMun"), text(address, "CEP"),  stateOf(cUF),
            text(emit, "CNPJ"),    text(emit, "IE"),      text(emit, "IM")};
}

// The infCFe element of an issued document whose root is `rootName`, or an error.
const xmlNode* issuedInfCFe(const xml::XmlDoc& doc, std::string_view rootName,
                            std::string_view kind, std::string& error) {
    const xmlNode* root = xmlDocGetRootElement(doc.get());
    if (root == nullptr || rootName != reinterpret_cast<const char*>(root->name)) {
        error = "o arquivo não é " + std::string(kind) + " (elemento raiz " +
                (root ? reinterpret_cast<const char*>(root->name) : "ausente") + ")";
        return nullptr;
    }
    const xmlNode* infCFe = childElement(root, "infCFe");
    if (!isKey(attribute(infCFe, "Id")) || childElement(infCFe, "ide") == nullptr) {
        error = "o arquivo não é " + std::string(kind) +
                " emitido pelo módulo: falta a chave de acesso (infCFe/@Id)";
        return nullptr;
    }
    return infCFe;
}

void readCommon(const xmlNode* infCFe, IssuedCommon& d) {
    const xmlNode* ide = childElement(infCFe, "ide");
    d.key = attribute(infCFe, "Id").substr(3);
    d.number = text(ide, "nCFe");
    d.serial = text(ide, "nserieSAT");
    d.date = text(ide, "dEmi");
    d.time = text(ide, "hEmi");
    d.environment = text(ide, "tpAmb");
    d.signAC = text(ide, "signAC");
    d.qrSignature = text(ide, "assinaturaQRCODE");
    d.issuer = readIssuer(childElement(infCFe, "emit"), text(ide, "cUF"));
    const xmlNode* dest = childElement(infCFe, "dest");
    d.customer = {text(dest, "CNPJ"), text(dest, "CPF"), text(dest, "xNome")};
    d.total = text(childElement(infCFe, "total"), "vCFe");
}

Item readItem(const xmlNode* det) {
    const xmlNode* prod = childElement(det, "prod");
    const xmlNode* taxes = childElement(det, "imposto");
    const xmlNode* issqn = childElement(taxes, "ISSQN");
    Item item;
    item.number = attribute(det, "nItem");
    item.code = text(prod, "cProd");
    if (item.code.empty())
        item.code = text(prod, "cEAN");
    item.description = text(prod, "xProd");
    item.quantity = text(prod, "qCom");
    item.unit = text(prod, "uCom");
    item.unitPrice = text(prod, "vUnCom");
    item.gross = text(prod, "vProd");
    item.discount = text(prod, "vDesc");
    item.increase = text(prod, "vOutro");
    item.subtotalDiscount = text(prod, "vRatDesc");
    item.subtotalIncrease = text(prod, "vRatAcr");
    item.approximateTaxes = text(taxes, "vItem12741");
    item.issqn = issqn != nullptr;
    item.issqnDeduction = text(issqn, "vDeducISSQN");
    item.issqnBase = text(issqn, "vBC");
    return item;
}

// Notes of the tax authority: under infAdic in the older layouts, directly under infCFe in
// the newer; both are read.
void readNotes(const xmlNode* parent, SaleDocument& d) {
    for (const xmlNode* n = parent ? parent->children : nullptr; n; n = n->next) {
        if (n->type == XML_ELEMENT_NODE &&
            std::string_view("obsFisco") == reinterpret_cast<const char*>(n->name))
            d.taxAuthorityNotes.emplace_back(attribute(n, "xCampo"), text(n, "xTexto"));
    }
}

void readSaleBody(const xmlNode* infCFe, SaleDocument& d) {
    long long gross = 0;
    for (const xmlNode* n = infCFe->children; n; n = n->next) {
        if (n->type == XML_ELEMENT_NODE &&
            std::string_view("det") == reinterpret_cast<const char*>(n->name)) {
            d.items.push_back(readItem(n));
            gross += hundredths(d.items.back().gross);
        }
    }
    // The gross total of every item, those under ISSQN included; ICMSTot, which may be absent
    // in a sale of services only, is not needed.
    d.itemsGross = fromHundredths(gross);
    const xmlNode* total = childElement(infCFe, "total");
    const xmlNode* adjustments = childElement(total, "DescAcrEntr");
    d.subtotalDiscount = text(adjustments, "vDescSubtot");
    d.subtotalIncrease = text(adjustments, "vAcresSubtot");
    d.approximateTaxes = text(total, "vCFeLei12741");
    const xmlNode* pgto = childElement(infCFe, "pgto");
    for (const xmlNode* n = pgto ? pgto->children : nullptr; n; n = n->next) {
        if (n->type == XML_ELEMENT_NODE &&
            std::string_view("MP") == reinterpret_cast<const char*>(n->name))
            d.payments.push_back({text(n, "cMP"), text(n, "vMP")});
    }
    d.change = text(pgto, "vTroco");
    const xmlNode* additional = childElement(infCFe, "infAdic");
    d.additionalInformation = text(additional, "infCpl");
    readNotes(additional, d);
    readNotes(infCFe, d);
    if (const xmlNode* e = childElement(infCFe, "entrega"))
        d.delivery = Delivery{text(e, "xLgr"),    text(e, "nro"),  text(e, "xCpl"),
                              text(e, "xBairro"), text(e, "xMun"), text(e, "UF")};
}

template <class Document, class Body>
Read<Document> readIssued(std::string_view bytes, std::string_view rootName, std::string_view kind,
                          Body body) {
    Read<Document> read;
    const xml::XmlParseResult parsed = xml::parseXmlSafely(bytes);
    if (!parsed.doc) {
        read.error = "o arquivo não é um XML legível: " + xml::describe(parsed.error);
        return read;
    }
    const xmlNode* infCFe = issuedInfCFe(parsed.doc, rootName, kind, read.error);
    if (infCFe == nullptr)
        return read;
    Document d;
    readCommon(infCFe, d);
    body(infCFe, d);
    read.document = std::move(d);
    return read;
}

} // namespace

Read<SaleDocument> readSale(std::string_view bytes) {
    return readIssued<SaleDocument>(bytes, "CFe", "um CF-e de venda", readSaleBody);
}

Read<CancellationDocument> readCancellation(std::string_view bytes) {
    std::string chCanc;
    Read<CancellationDocument> read =
        readIssued<CancellationDocument>(bytes, "CFeCanc", "um CF-e de cancelamento",
                                         [&chCanc](const xmlNode* infCFe, CancellationDocument& d) {
                                             chCanc = attribute(infCFe, "chCanc");
                                             d.saleDate = text(infCFe, "dEmi");
                                             d.saleTime = text(infCFe, "hEmi");
                                         });
    // The cancelled sale's key is printed, drawn as barcodes and matched with the sale's CF-e:
    // a cancellation that does not name one by a whole key has no receipt.
    if (read.document && !isKey(chCanc)) {
        read.document.reset();
        read.error = "o CF-e de cancelamento não traz a chave do CF-e cancelado (chCanc)";
    } else if (read.document) {
        read.document->saleKey = chCanc.substr(3);
    }
    return read;
}

std::string saleMismatch(const CancellationDocument& cancellation, const SaleDocument& sale) {
    if (cancellation.saleKey == sale.key)
        return {};
    return "o CF-e de venda (chave " + sale.key + ") não é o cancelado (chave " +
           cancellation.saleKey + ")";
}

} // namespace receipt
