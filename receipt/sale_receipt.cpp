// The sale's receipt, top to bottom: issuer, title, customer, items, totals, payments, notes,
// delivery, the taxpayer's notes with the approximate taxes, and the footer with the codes.

#include "receipt/payment_names.h"
#include "receipt/receipt_lines.h"
#include "receipt/receipt_text.h"
#include "receipt/receipt_writer.h"

namespace receipt {
namespace {

constexpr Style condensed{.condensed = true};

std::string minus(std::string_view value) {
    return "-" + money(value);
}

std::string plus(std::string_view value) {
    return "+" + money(value);
}

bool anyItemTaxes(const SaleDocument& sale) {
    for (const Item& item : sale.items) {
        if (!isZero(item.approximateTaxes))
            return true;
    }
    return false;
}

void itemLines(ReceiptWriter& w, const Item& item) {
    std::string number = item.number;
    if (number.size() < 3)
        number.insert(0, 3 - number.size(), '0');
    std::string amount =
        quantity(item.quantity) + " " + item.unit + " x " + decimalText(item.unitPrice);
    if (!isZero(item.approximateTaxes))
        amount += " (" + money(item.approximateTaxes) + ")";
    amount += " " + money(item.gross);
    w.labelValue(number + " " + item.code + " " + item.description, amount, condensed);
    const std::pair<const char*, std::string> adjustments[] = {
        {"desconto sobre item", isZero(item.discount) ? "" : minus(item.discount)},
        {"rateio de desconto sobre subtotal",
         isZero(item.subtotalDiscount) ? "" : minus(item.subtotalDiscount)},
        {"acréscimo sobre item", isZero(item.increase) ? "" : plus(item.increase)},
        {"rateio de acréscimo sobre subtotal",
         isZero(item.subtotalIncrease) ? "" : plus(item.subtotalIncrease)},
        {"dedução para ISSQN", isZero(item.issqnDeduction) ? "" : minus(item.issqnDeduction)},
        {"base de cálculo ISSQN", item.issqn ? money(item.issqnBase) : ""},
    };
    for (const auto& [label, value] : adjustments) {
        if (!value.empty())
            w.labelValue(label, value, condensed);
    }
}

void items(ReceiptWriter& w, const SaleDocument& sale) {
    std::vector<std::string_view> legend{"#", "COD", "DESC", "QTD", "UN", "VL UN R$"};
    if (anyItemTaxes(sale))
        legend.push_back("(VL TR R$)*");
    legend.push_back("VL ITEM R$");
    for (const std::string& line : wrappedFields(legend, w.columns(condensed)))
        w.left(line, condensed);
    w.separator();
    for (const Item& item : sale.items)
        itemLines(w, item);
}

void totals(ReceiptWriter& w, const SaleDocument& sale) {
    long long discount = 0;
    long long increase = 0;
    for (const Item& item : sale.items) {
        discount += hundredths(item.discount);
        increase += hundredths(item.increase);
    }
    const bool adjusted = discount != 0 || increase != 0 || !isZero(sale.subtotalDiscount) ||
                          !isZero(sale.subtotalIncrease);
    if (adjusted) {
        w.labelValue("Total bruto de itens", money(sale.itemsGross));
        if (discount != 0)
            w.labelValue("Desconto sobre item", minus(fromHundredths(discount)));
        if (increase != 0)
            w.labelValue("Acréscimo sobre item", plus(fromHundredths(increase)));
        if (!isZero(sale.subtotalDiscount))
            w.labelValue("Desconto sobre subtotal", minus(sale.subtotalDiscount));
        if (!isZero(sale.subtotalIncrease))
            w.labelValue("Acréscimo sobre subtotal", plus(sale.subtotalIncrease));
    }
    w.labelValue("TOTAL R$", money(sale.total), {.bold = true});
}

void payments(ReceiptWriter& w, const SaleDocument& sale) {
    for (const Payment& p : sale.payments)
        w.labelValue(paymentName(p.code), money(p.value));
    if (!isZero(sale.change))
        w.labelValue("Troco R$", money(sale.change));
}

void notes(ReceiptWriter& w, const SaleDocument& sale, bool itemTaxesShown) {
    for (const auto& [field, text] : sale.taxAuthorityNotes)
        w.wrapped(field + ": " + text, condensed);
    if (sale.delivery) {
        const Delivery& d = *sale.delivery;
        w.separator();
        w.left("DADOS PARA ENTREGA", {.bold = true});
        std::string address = "Endereço: ";
        for (const std::string* part : {&d.street, &d.number, &d.complement, &d.district}) {
            if (!part->empty())
                address += *part + ", ";
        }
        w.wrapped(address + d.city + "/" + d.uf, condensed);
        if (!sale.customer.name.empty())
            w.wrapped("Destinatário: " + sale.customer.name, condensed);
    }
    if (sale.additionalInformation.empty() && isZero(sale.approximateTaxes))
        return;
    w.separator();
    w.left("OBSERVAÇÕES DO CONTRIBUINTE", {.bold = true});
    if (!sale.additionalInformation.empty())
        w.wrapped(sale.additionalInformation, condensed);
    if (isZero(sale.approximateTaxes))
        return;
    if (itemTaxesShown)
        w.left("*Valor aproximado dos tributos do item", condensed);
    w.labelValue("Valor aproximado dos tributos deste cupom R$", money(sale.approximateTaxes),
                 condensed);
    w.left("(conforme Lei Fed. 12.741/2012)", condensed);
}

} // namespace

Receipt saleReceipt(const SaleDocument& sale, Paper paper, Variant variant) {
    ReceiptWriter w(paper);
    issuerHeader(w, sale.issuer);
    title(w, sale.number, inTestCondition(sale), {});
    customerLines(w, sale.customer);
    w.separator();
    const bool itemLinesShown = variant == Variant::full;
    if (itemLinesShown) {
        items(w, sale);
        w.separator();
    }
    totals(w, sale);
    payments(w, sale);
    notes(w, sale, itemLinesShown && anyItemTaxes(sale));
    w.separator();
    footer(w, sale, sale.date, sale.time, true);
    return w.take();
}

} // namespace receipt
