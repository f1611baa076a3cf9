// The cancellation's receipt: the issuer and title, then two blocks, the cancelled sale's (its
// customer, total, key and QR code) and the cancellation's own (its key and QR code).

#include "receipt/receipt_lines.h"
#include "receipt/receipt_text.h"
#include "receipt/receipt_writer.h"

namespace receipt {

Receipt cancellationReceipt(const CancellationDocument& cancellation, const SaleDocument& sale,
                            Paper paper) {
    ReceiptWriter w(paper);
    issuerHeader(w, cancellation.issuer);
    title(w, cancellation.number, inTestCondition(cancellation) || inTestCondition(sale),
          "CANCELAMENTO");
    const Style bold{.bold = true};
    w.centredWrapped("DADOS DO CUPOM FISCAL ELETRÔNICO CANCELADO", bold);
    customerLines(w, cancellation.customer);
    w.labelValue("TOTAL R$", money(cancellation.total), bold);
    footer(w, sale, cancellation.saleDate, cancellation.saleTime, false);
    w.separator();
    w.centredWrapped("DADOS DO CUPOM FISCAL ELETRÔNICO DE CANCELAMENTO", bold);
    footer(w, cancellation, cancellation.date, cancellation.time, true);
    return w.take();
}

} // namespace receipt
