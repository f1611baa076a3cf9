#pragma once
// The documents a module issues: the signed CF-e of a sale or end-to-end test, and the signed
// cancellation CF-e (CFeCanc), built with libxml2 in the order of the tax authority's layout.

#include "emulator/module/state.h"
#include "emulator/sale/sale.h"
#include "emulator/sale/xml.h"

#include <string>

namespace emulator {

// The identity of one issued document.
struct IssueNumbers {
    std::string cUF;    // two digits
    std::string date;   // dEmi AAAAMMDD
    std::string time;   // hEmi HHMMSS
    std::string cnpj;   // the issuer
    std::string serial; // nserieSAT, nine digits
    std::string number; // nCFe, six digits
    std::string code;   // cNF, six digits
    std::string key;    // the 44-digit access key built from the above
};

// Fills `key`: cUF, AAMM, CNPJ, model 59, serial, nCFe, cNF and the modulo-11 check digit.
void composeKey(IssueNumbers& numbers);

// The text a module signs for the QR code: key, date and time, total and customer document.
std::string qrCodeText(const std::string& key, const std::string& stamp, const std::string& total,
                       const std::string& customer);

struct CfeIssue {
    IssueNumbers numbers;
    std::string environment;     // tpAmb: "2", test environment
    std::string softwareVersion; // versaoSB, six digits
    std::string qrSignature;     // assinaturaQRCODE
    std::string layout;          // versao: the module's layout, whatever the sale's
};

// The issued CF-e of a read sale (not yet signed); its infCFe has the Id "CFe" + key.
XmlDoc writeCfe(const Sale& sale, const CfeIssue& issue, const Taxpayer& taxpayer);

struct CancellationIssue {
    IssueNumbers numbers;    // of the cancellation itself
    std::string qrSignature; // assinaturaQRCODE of the cancellation
    std::string softwareHouseCnpj;
    std::string signAC;
    std::string cashRegister;
    std::string layout; // versao: the module's layout
};

// The cancellation CF-e of the last sale (not yet signed).
XmlDoc writeCancellation(const CancellationIssue& issue, const LastSale& sale,
                         const Taxpayer& taxpayer);

// A CF-e as a sale or an end-to-end test answers it.
struct IssuedCfe {
    IssueNumbers numbers;
    std::string stamp;    // timeStamp AAAAMMDDHHMMSS
    std::string total;    // vCFe
    std::string customer; // CPF or CNPJ, or empty
    std::string qr;       // assinaturaQRCODE
    std::string xml;      // the signed document
};

// The element a writer gave the Id "CFe" + key.
xmlNode* signedPart(xmlDoc* doc);

} // namespace emulator
