#include "emulator/sale/fixed_point.h"
#include "emulator/sale/sale.h"

#include <numeric>
#include <optional>

namespace emulator {
namespace {

// vProd: qCom (10^-4) × vUnCom (10^-3), rounded or truncated to cents as indRegra says.
std::optional<std::int64_t> grossOf(const SaleItem& item) {
    return mulDiv(item.quantity, item.unitPrice, 100000, item.truncate);
}

// vPIS / vCOFINS: vBC (cents) × rate (10^-4), or qBCProd (10^-4) × vAliqProd (10^-4).
std::optional<std::int64_t> taxOf(const TaxRate& tax) {
    switch (tax.kind) {
    case TaxRate::Kind::Rate:
        return mulDiv(tax.base, tax.rate, 10000);
    case TaxRate::Kind::Quantity:
        return mulDiv(tax.base, tax.rate, 1000000);
    case TaxRate::Kind::None:
        break;
    }
    return 0;
}

// Shares `amount` among the items in proportion to their values. Each item takes the rounded
// share of the running total up to it less that of the items before it, so the shares add up
// to the amount exactly and none is negative: rounding every share on its own could give the
// last item less than nothing (a hundred items of 1.00 and 0.50 to share, one cent each).
std::optional<std::vector<std::int64_t>> apportion(std::int64_t amount,
                                                   const std::vector<std::int64_t>& bases) {
    std::vector<std::int64_t> shares(bases.size(), 0);
    const std::int64_t whole = std::accumulate(bases.begin(), bases.end(), std::int64_t{0});
    if (amount == 0)
        return shares;
    if (whole <= 0)
        return std::nullopt;
    std::int64_t running = 0;
    std::int64_t given = 0;
    for (std::size_t i = 0; i < bases.size(); ++i) {
        running += bases[i];
        const auto upToHere = mulDiv(amount, running, whole);
        if (!upToHere)
            return std::nullopt;
        shares[i] = *upToHere - given;
        given = *upToHere;
    }
    return shares;
}

std::int64_t taxValue(TaxRate& tax) {
    const auto value = taxOf(tax);
    if (!value)
        throw Rejection{1999, 0, "valor de imposto fora de faixa"};
    return tax.value = *value;
}

} // namespace

std::variant<SaleTotals, Rejection> computeSale(Sale& sale) {
    std::vector<std::int64_t> bases;
    for (SaleItem& item : sale.items) {
        const auto gross = grossOf(item);
        if (!gross)
            return Rejection{1999, item.number, "vProd fora de faixa"};
        item.gross = *gross;
        const std::int64_t base = item.gross - item.discount + item.other;
        if (base < 0)
            return Rejection{1468, item.number};
        bases.push_back(base);
    }
    const auto discounts = apportion(sale.subtotalDiscount, bases);
    const auto additions = apportion(sale.subtotalAddition, bases);
    if (!discounts || !additions)
        return Rejection{1998, 0};

    SaleTotals totals;
    try {
        for (std::size_t i = 0; i < sale.items.size(); ++i) {
            SaleItem& item = sale.items[i];
            item.subtotalDiscount = (*discounts)[i];
            item.subtotalAddition = (*additions)[i];
            item.net = bases[i] - item.subtotalDiscount + item.subtotalAddition;
            if (item.net < 0)
                return Rejection{1998, item.number};
            ContributionTotals& contributions = item.issqn ? totals.issItems : totals.icmsItems;
            contributions.pis += taxValue(item.pis);
            contributions.cofins += taxValue(item.cofins);
            contributions.pisSt += taxValue(item.pisSt);
            contributions.cofinsSt += taxValue(item.cofinsSt);
            if (item.issqn) {
                item.issBase = item.net - item.issDeduction;
                const auto iss = mulDiv(item.issBase, item.issRate, 10000);
                if (item.issBase < 0 || !iss)
                    return Rejection{1998, item.number};
                item.iss = *iss;
                totals.hasIssqn = true;
                totals.issBase += item.issBase;
                totals.iss += item.iss;
            } else {
                const auto icms = item.icmsRated ? mulDiv(item.net, item.icmsRate, 10000)
                                                 : std::optional<std::int64_t>(0);
                if (!icms)
                    return Rejection{1999, item.number, "vICMS fora de faixa"};
                item.icms = *icms;
                totals.icms += item.icms;
                totals.gross += item.gross;
                totals.discount += item.discount;
                totals.other += item.other;
            }
            totals.total += item.net;
        }
    } catch (const Rejection& rejection) {
        return rejection;
    }
    totals.paid = std::accumulate(sale.payments.begin(), sale.payments.end(), std::int64_t{0});
    if (totals.paid < totals.total)
        return Rejection{1408, 0};
    totals.change = totals.paid - totals.total;
    return totals;
}

} // namespace emulator
