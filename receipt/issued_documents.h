#pragma once
// The values a receipt prints, read from an issued CF-e (sale) or CFeCanc (cancellation) as the
// module returned it. Values stay as the XML writes them; the receipt formats them.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace receipt {

struct Issuer {
    std::string tradeName, name; // xFant, xNome
    std::string street, number, complement, district, city, postalCode, uf;
    std::string cnpj, ie, im;
};

struct Customer {
    std::string cnpj, cpf, name;
    // The document as the QR code carries it: the CNPJ, else the CPF, else empty.
    std::string document() const { return cnpj.empty() ? cpf : cnpj; }
};

struct Item {
    std::string number, code, description, quantity, unit, unitPrice, gross;
    std::string discount, increase, subtotalDiscount,
        subtotalIncrease;         // vDesc vOutro vRatDesc vRatAcr
    std::string approximateTaxes; // vItem12741
    bool issqn = false;
    std::string issqnDeduction, issqnBase;
};

struct Payment {
    std::string code, value; // cMP, vMP
};

struct Delivery {
    std::string street, number, complement, district, city, uf;
};

// What a sale's and a cancellation's receipt share: who issued it, its number and key, when,
// the module, the customer, the total and the QR signature.
struct IssuedCommon {
    std::string key; // 44 digits
    std::string number, serial, date, time, environment, signAC, qrSignature;
    Issuer issuer;
    Customer customer;
    std::string total; // vCFe
};

struct SaleDocument : IssuedCommon {
    std::vector<Item> items;
    std::string itemsGross, subtotalDiscount, subtotalIncrease, approximateTaxes;
    std::vector<Payment> payments;
    std::string change;
    std::vector<std::pair<std::string, std::string>> taxAuthorityNotes; // obsFisco xCampo, xTexto
    std::optional<Delivery> delivery;
    std::string additionalInformation; // infCpl
};

struct CancellationDocument : IssuedCommon {
    std::string saleKey;            // chCanc without "CFe"
    std::string saleDate, saleTime; // infCFe/dEmi, hEmi
};

// The document read, or a message saying why the bytes are not one (malformed XML, another
// kind of document, a sale not yet issued).
template <class Document> struct Read {
    std::optional<Document> document;
    std::string error;
};

Read<SaleDocument> readSale(std::string_view bytes);
Read<CancellationDocument> readCancellation(std::string_view bytes);

// Empty when `sale` is the CF-e the cancellation cancels; else why it is not.
std::string saleMismatch(const CancellationDocument& cancellation, const SaleDocument& sale);

} // namespace receipt
