#include "receipt/receipt_writer.h"

#include "receipt/receipt_choices.h"
#include "receipt/receipt_text.h"

namespace receipt {
namespace {

constexpr std::string_view testSignAC = "SGR-SAT SISTEMA DE GESTAO E RETAGUARDA DO SAT";
constexpr std::string_view appNotice =
    "Consulte o QR Code pelo aplicativo \"De olho na nota\", disponível na AppStore (Apple) e "
    "PlayStore (Android)";

// Text parts joined with `separator`, empty parts left out.
std::string joined(std::initializer_list<std::string_view> parts, std::string_view separator) {
    std::string text;
    for (std::string_view part : parts) {
        if (part.empty())
            continue;
        if (!text.empty())
            text += separator;
        text += part;
    }
    return text;
}

} // namespace

Columns columnsOf(Paper paper) {
    return paper == Paper::mm80 ? Columns{48, 64} : Columns{32, 42};
}

std::size_t ReceiptWriter::columns(Style style) const {
    return style.condensed ? columns_.condensed : columns_.normal;
}

void ReceiptWriter::add(PrintLine::Kind kind, std::string text, Style style) {
    receipt_.lines.push_back({kind, std::move(text), style.condensed, style.bold, style.italic});
}

void ReceiptWriter::left(std::string_view text, Style style) {
    add(PrintLine::Kind::text, cut(text, columns(style)), style);
}

void ReceiptWriter::centred(std::string_view text, Style style) {
    add(PrintLine::Kind::text, receipt::centred(text, columns(style)), style);
}

void ReceiptWriter::wrapped(std::string_view text, Style style) {
    for (const std::string& line : receipt::wrapped(text, columns(style)))
        add(PrintLine::Kind::text, line, style);
}

void ReceiptWriter::centredWrapped(std::string_view text, Style style) {
    for (const std::string& line : receipt::wrapped(text, columns(style)))
        centred(line, style);
}

void ReceiptWriter::labelValue(std::string_view label, std::string_view value, Style style) {
    const std::size_t n = columns(style);
    if (width(label) + 1 + width(value) <= n) {
        add(PrintLine::Kind::text, receipt::labelValue(label, value, n), style);
        return;
    }
    // Too long for one line: the label wrapped, the value on its last line when it fits there,
    // else on lines of its own, right-aligned; a value wider than the paper (an item's amount on
    // 58 mm) wraps between its words, never cutting a number.
    std::vector<std::string> lines = receipt::wrapped(label, n);
    if (!lines.empty() && width(lines.back()) + 1 + width(value) <= n)
        lines.back() = receipt::labelValue(lines.back(), value, n);
    else
        for (const std::string& part : receipt::wrapped(value, n))
            lines.push_back(rightAligned(part, n));
    for (std::string& line : lines)
        add(PrintLine::Kind::text, std::move(line), style);
}

void ReceiptWriter::blank() {
    add(PrintLine::Kind::text, {}, {});
}

void ReceiptWriter::separator() {
    add(PrintLine::Kind::separator, {}, {});
}

void ReceiptWriter::barcode(std::string_view digits) {
    add(PrintLine::Kind::barcode, std::string(digits), {});
}

void ReceiptWriter::qrCode(std::string_view content) {
    add(PrintLine::Kind::qrCode, std::string(content), {});
}

bool inTestCondition(const IssuedCommon& document) {
    return document.environment == "2" || document.signAC == testSignAC;
}

std::string qrContent(const IssuedCommon& d) {
    return d.key + "|" + d.date + d.time + "|" + d.total + "|" + d.customer.document() + "|" +
           d.qrSignature;
}

void issuerHeader(ReceiptWriter& w, const Issuer& issuer) {
    const Style bold{.bold = true};
    if (!issuer.tradeName.empty())
        w.centredWrapped(issuer.tradeName, bold);
    w.centredWrapped(issuer.name, bold);
    w.centredWrapped(joined({issuer.street, issuer.number, issuer.complement}, ", "));
    if (!issuer.district.empty())
        w.centredWrapped(issuer.district);
    w.centredWrapped(joined({joined({issuer.city, issuer.uf}, "/"),
                             issuer.postalCode.empty() ? "" : "CEP: " + cepMask(issuer.postalCode)},
                            " "));
    w.centred("CNPJ: " + cnpjMask(issuer.cnpj));
    w.centred("IE: " + issuer.ie);
    if (!issuer.im.empty())
        w.centred("IM: " + issuer.im);
    w.separator();
}

void title(ReceiptWriter& w, const std::string& number, bool testCondition,
           std::string_view extraTitle) {
    const Style bold{.bold = true};
    w.centred("Extrato No. " + (testCondition ? std::string("000000") : number), bold);
    w.centred("CUPOM FISCAL ELETRÔNICO - SAT", bold);
    if (!extraTitle.empty())
        w.centred(extraTitle, bold);
    if (testCondition) {
        w.blank();
        w.centred("= T E S T E =", bold);
        w.blank();
        const Style italic{.italic = true};
        for (int i = 0; i < 3; ++i)
            w.left(std::string(w.columns(italic), '>'), italic);
    }
    w.separator();
}

void customerLines(ReceiptWriter& w, const Customer& customer) {
    if (!customer.cnpj.empty())
        w.wrapped("CPF/CNPJ do Consumidor: " + cnpjMask(customer.cnpj));
    else if (!customer.cpf.empty())
        w.wrapped("CPF/CNPJ do Consumidor: " + cpfMask(customer.cpf));
    else
        w.left(choices::noCustomer);
    if (!customer.name.empty())
        w.wrapped(std::string(choices::customerNameLabel) + customer.name);
}

void footer(ReceiptWriter& w, const IssuedCommon& document, const std::string& date,
            const std::string& time, bool appMessage) {
    const Style condensed{.condensed = true};
    w.centred("SAT no. " + document.serial, {.bold = true});
    w.centred(dateText(date) + " - " + timeText(time));
    const std::string groups = keyGroups(document.key);
    if (width(groups) <= w.columns(condensed)) {
        w.centred(groups, condensed);
    } else {
        w.centred(keyGroups(document.key.substr(0, 24)), condensed);
        w.centred(keyGroups(document.key.substr(24)), condensed);
    }
    if (w.columns({}) >= 48) {
        w.barcode(document.key);
    } else {
        w.barcode(document.key.substr(0, 22));
        w.barcode(document.key.substr(22));
    }
    w.qrCode(qrContent(document));
    if (appMessage)
        w.centredWrapped(appNotice, condensed);
}

} // namespace receipt
