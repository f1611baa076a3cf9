#pragma once
// A sale document read and checked as a module does before it issues a CF-e: its structure,
// the values the table of content rejections covers, and the values the module computes from
// them (item values, taxes, apportioned subtotal discount and addition, totals, change).

#include "emulator/sale/rejections.h"

#include <libxml/tree.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace emulator {

// Money is in cents; quantities and PIS/COFINS rates in 10^-4; prices in 10^-3; ICMS and ISS
// rates in hundredths of a percent.

// A PIS or COFINS group of an item (or its ST group).
struct TaxRate {
    enum class Kind { None, Rate, Quantity };
    Kind kind = Kind::None;
    std::int64_t base = 0;  // vBC (cents) or qBCProd (10^-4)
    std::int64_t rate = 0;  // pPIS / pCOFINS or vAliqProd (10^-4)
    std::int64_t value = 0; // computed vPIS / vCOFINS
};

struct SaleItem {
    const xmlNode* det = nullptr;
    int number = 0;
    std::int64_t quantity = 0;  // qCom
    std::int64_t unitPrice = 0; // vUnCom
    std::int64_t discount = 0;  // vDesc
    std::int64_t other = 0;     // vOutro
    bool truncate = false;      // indRegra "T": vProd truncated instead of rounded
    bool issqn = false;         // taxed by ISSQN instead of ICMS
    bool icmsRated = false;     // ICMS00 / ICMSSN900, which carry pICMS
    std::int64_t icmsRate = 0;
    std::int64_t issDeduction = 0; // vDeducISSQN
    std::int64_t issRate = 0;      // vAliq
    TaxRate pis, pisSt, cofins, cofinsSt;

    std::int64_t gross = 0;            // vProd
    std::int64_t subtotalDiscount = 0; // vRatDesc
    std::int64_t subtotalAddition = 0; // vRatAcr
    std::int64_t net = 0;              // vItem
    std::int64_t icms = 0;             // vICMS
    std::int64_t issBase = 0;          // ISSQN vBC
    std::int64_t iss = 0;              // vISSQN
};

// vPIS, vCOFINS, vPISST and vCOFINSST summed over a set of items.
struct ContributionTotals {
    std::int64_t pis = 0, cofins = 0, pisSt = 0, cofinsSt = 0;
};

struct SaleTotals {
    // ICMSTot, over the items taxed by ICMS
    std::int64_t icms = 0, gross = 0, discount = 0, other = 0;
    ContributionTotals icmsItems;
    std::int64_t total = 0; // vCFe
    // ISSQNtot, over the items taxed by ISSQN
    bool hasIssqn = false;
    std::int64_t issBase = 0, iss = 0;
    ContributionTotals issItems;
    std::int64_t paid = 0;   // sum of vMP
    std::int64_t change = 0; // vTroco
};

struct Sale {
    const xmlNode* infCFe = nullptr;
    std::string layout; // versaoDadosEnt
    std::string softwareHouseCnpj;
    std::string signAC;
    std::string cashRegister; // numeroCaixa
    std::string issuerCnpj;
    std::string stateRegistration;
    std::string municipalRegistration;
    std::string customerCnpj;
    std::string customerCpf;
    std::vector<SaleItem> items;
    std::int64_t subtotalDiscount = 0;  // vDescSubtot
    std::int64_t subtotalAddition = 0;  // vAcresSubtot
    std::vector<std::int64_t> payments; // vMP
    SaleTotals totals;
    int alert = 0; // the CCCC of a warning the sale is issued with (1234), or 0
};

// Who sends a sale and for whom, as the document names them.
struct SaleParties {
    std::string softwareHouseCnpj; // ide/CNPJ
    std::string signAC;            // ide/signAC
    std::string issuerCnpj;        // emit/CNPJ
};

// Checks the sale document's structure and reads its parties, which a module compares with its
// association and its taxpayer before it looks at the content; a Rejection names the first
// structural fault.
std::variant<SaleParties, Rejection> readSaleParties(const xmlDoc* doc);

// Whether a module of layout `moduleLayout` takes a sale of layout `versaoDadosEnt`: a layout
// version it knows, not newer than its own.
bool acceptsLayout(std::string_view moduleLayout, std::string_view versaoDadosEnt);

// Reads and checks the sale document, for a module of the given layout, and computes its
// values; a Rejection names the first fault in document order. The Sale points into `doc`,
// which must outlive it.
std::variant<Sale, Rejection> readSale(const xmlDoc* doc, std::string_view moduleLayout);

// Computes item values, taxes and totals of a read sale; a Rejection when a value would come
// out negative (1468, 1998), too large (1999), or the payments fall short of the total (1408).
std::variant<SaleTotals, Rejection> computeSale(Sale& sale);

} // namespace emulator
