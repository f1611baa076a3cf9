#include "receipt/receipt_symbols.h"

#include <zint.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace receipt {
namespace {

struct SymbolFree {
    void operator()(zint_symbol* s) const { ZBarcode_Delete(s); }
};

// Encodes with the settings `configure` makes and returns the vector output scaled so that one
// module is `moduleMm` wide and the whole symbol `heightMm` high (0: square modules).
Symbol encoded(int symbology, std::string_view data, double moduleMm, double heightMm,
               void (*configure)(zint_symbol*)) {
    std::unique_ptr<zint_symbol, SymbolFree> s(ZBarcode_Create());
    s->symbology = symbology;
    s->input_mode = DATA_MODE;
    s->output_options |= BARCODE_NO_QUIET_ZONES;
    s->show_hrt = 0;
    configure(s.get());
    const std::string bytes(data);
    const int status =
        ZBarcode_Encode(s.get(), reinterpret_cast<const unsigned char*>(bytes.data()),
                        static_cast<int>(bytes.size()));
    if (status >= ZINT_ERROR || ZBarcode_Buffer_Vector(s.get(), 0) >= ZINT_ERROR)
        throw std::runtime_error("o código não pôde ser gerado (zint): " + std::string(s->errtxt));
    const zint_vector* v = s->vector;
    Symbol symbol;
    const double sx = moduleMm * s->width / v->width;
    const double sy = heightMm > 0 ? heightMm / v->height : sx;
    symbol.width = v->width * sx;
    symbol.height = v->height * sy;
    for (const zint_vector_rect* r = v->rectangles; r != nullptr; r = r->next)
        symbol.bars.push_back({r->x * sx, r->y * sy, r->width * sx, r->height * sy});
    return symbol;
}

} // namespace

Symbol code128(std::string_view digits, double moduleMm, double heightMm) {
    return encoded(BARCODE_CODE128, digits, moduleMm, heightMm,
                   [](zint_symbol* s) { s->height = 40; });
}

Symbol qrCode(std::string_view content, double moduleMm) {
    return encoded(BARCODE_QRCODE, content, moduleMm, 0, [](zint_symbol* s) {
        s->option_1 = 1; // error correction level L
    });
}

} // namespace receipt
