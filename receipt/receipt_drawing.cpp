#include "receipt/receipt_drawing.h"

#include "receipt/receipt_symbols.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <cmath>
#include <memory>
#include <stdexcept>

// cairo keeps the fonts it found through fontconfig for the life of the process, and fontconfig
// never frees them: under LeakSanitizer they would show as leaks of every program that draws a
// receipt. (Releasing them with FcFini is not safe while the window's Qt still uses fontconfig.)
#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
#endif

namespace receipt {
namespace {

constexpr double marginMm = 4;
constexpr double barcodeModuleMm = 0.25; // 2 dots of a 203 dpi printer
constexpr double barcodeHeightMm = 10;
constexpr double qrModuleMm = 0.5; // 4 dots of a 203 dpi printer
constexpr double codeGapMm = 2;    // white above and below a code: its quiet zone
constexpr double separatorMm = 2;
constexpr double lineSpacing = 1.2; // line height over font size
constexpr const char* fontFamily = "DejaVu Sans Mono";

struct ContextFree {
    void operator()(cairo_t* c) const { cairo_destroy(c); }
};
struct SurfaceFree {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
using Context = std::unique_ptr<cairo_t, ContextFree>;
using Surface = std::unique_ptr<cairo_surface_t, SurfaceFree>;

struct Fonts {
    Fonts() {
        for (int bold = 0; bold < 2; ++bold) {
            for (int italic = 0; italic < 2; ++italic)
                faces[bold][italic] = cairo_toy_font_face_create(
                    fontFamily, italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                    bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
        }
    }
    ~Fonts() {
        for (auto& row : faces) {
            for (cairo_font_face_t* face : row)
                cairo_font_face_destroy(face);
        }
    }
    Fonts(const Fonts&) = delete;
    Fonts& operator=(const Fonts&) = delete;
    cairo_font_face_t* faces[2][2];
};

// Where every line goes: font sizes that fit the paper's columns exactly, and the encoded codes.
struct Page {
    double width = 0, height = 0, printable = 0;
    double normalSize = 0, condensedSize = 0;
    std::vector<double> tops;    // of each line
    std::vector<Symbol> symbols; // of each code line, in order
};

// Glyph advances as the font designs them, not rounded to the pixels of an image.
void unhinted(cairo_t* cr) {
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

double fontSize(const PrintLine& line, const Page& page) {
    return line.condensed ? page.condensedSize : page.normalSize;
}

Page laidOut(const Receipt& receipt, const Fonts& fonts) {
    Page page;
    page.width = paperWidthMm(receipt.paper);
    page.printable = page.width - 2 * marginMm;
    // The advance of a monospaced character sets the sizes for the columns (measured large,
    // unhinted, so that no rounding to pixels creeps in).
    Surface scratch(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1));
    Context cr(cairo_create(scratch.get()));
    unhinted(cr.get());
    cairo_set_font_face(cr.get(), fonts.faces[0][0]);
    cairo_set_font_size(cr.get(), 100);
    cairo_text_extents_t extents;
    cairo_text_extents(cr.get(), "0", &extents);
    const double advance = extents.x_advance / 100;
    const Columns columns = columnsOf(receipt.paper);
    page.normalSize = page.printable / columns.normal / advance;
    page.condensedSize = page.printable / columns.condensed / advance;

    double y = marginMm;
    for (const PrintLine& line : receipt.lines) {
        page.tops.push_back(y);
        switch (line.kind) {
        case PrintLine::Kind::text:
            y += fontSize(line, page) * lineSpacing;
            break;
        case PrintLine::Kind::separator:
            y += separatorMm;
            break;
        case PrintLine::Kind::barcode:
        case PrintLine::Kind::qrCode:
            page.symbols.push_back(line.kind == PrintLine::Kind::barcode
                                       ? code128(line.text, barcodeModuleMm, barcodeHeightMm)
                                       : qrCode(line.text, qrModuleMm));
            y += page.symbols.back().height + 2 * codeGapMm;
            break;
        }
    }
    page.height = y + marginMm;
    return page;
}

void draw(cairo_t* cr, const Receipt& receipt, const Page& page, const Fonts& fonts) {
    unhinted(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    std::size_t nextSymbol = 0;
    for (std::size_t i = 0; i < receipt.lines.size(); ++i) {
        const PrintLine& line = receipt.lines[i];
        const double top = page.tops[i];
        if (line.kind == PrintLine::Kind::text) {
            if (line.text.empty())
                continue;
            const double size = fontSize(line, page);
            cairo_set_font_face(cr, fonts.faces[line.bold][line.italic]);
            cairo_set_font_size(cr, size);
            cairo_move_to(cr, marginMm, top + size * 0.95);
            cairo_show_text(cr, line.text.c_str());
        } else if (line.kind == PrintLine::Kind::separator) {
            cairo_rectangle(cr, marginMm, top + separatorMm / 2 - 0.1, page.printable, 0.2);
            cairo_fill(cr);
        } else {
            const Symbol& symbol = page.symbols[nextSymbol++];
            const double left = marginMm + (page.printable - symbol.width) / 2;
            for (const Rectangle& r : symbol.bars)
                cairo_rectangle(cr, left + r.x, top + codeGapMm + r.y, r.width, r.height);
            cairo_fill(cr);
        }
    }
}

cairo_status_t appendTo(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

void check(cairo_status_t status) {
    if (status != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error(std::string("o extrato não pôde ser desenhado (cairo): ") +
                                 cairo_status_to_string(status));
}

} // namespace

double paperWidthMm(Paper paper) {
    return paper == Paper::mm80 ? 80 : 58;
}

std::string receiptPdf(const Receipt& receipt) {
    const Fonts fonts;
    const Page page = laidOut(receipt, fonts);
    constexpr double pointsPerMm = 72 / 25.4;
    std::string bytes;
    Surface surface(cairo_pdf_surface_create_for_stream(appendTo, &bytes, page.width * pointsPerMm,
                                                        page.height * pointsPerMm));
    {
        Context cr(cairo_create(surface.get()));
        cairo_scale(cr.get(), pointsPerMm, pointsPerMm);
        draw(cr.get(), receipt, page, fonts);
        cairo_show_page(cr.get());
        check(cairo_status(cr.get()));
    }
    cairo_surface_finish(surface.get());
    check(cairo_surface_status(surface.get()));
    return bytes;
}

Image receiptImage(const Receipt& receipt, double dotsPerMm) {
    const Fonts fonts;
    const Page page = laidOut(receipt, fonts);
    Image image;
    image.width = static_cast<int>(std::ceil(page.width * dotsPerMm));
    image.height = static_cast<int>(std::ceil(page.height * dotsPerMm));
    Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.width, image.height));
    check(cairo_surface_status(surface.get()));
    {
        Context cr(cairo_create(surface.get()));
        cairo_set_source_rgb(cr.get(), 1, 1, 1);
        cairo_paint(cr.get());
        cairo_scale(cr.get(), dotsPerMm, dotsPerMm);
        draw(cr.get(), receipt, page, fonts);
        check(cairo_status(cr.get()));
    }
    cairo_surface_flush(surface.get());
    image.stride = cairo_image_surface_get_stride(surface.get());
    const unsigned char* data = cairo_image_surface_get_data(surface.get());
    image.pixels.assign(data, data + static_cast<std::size_t>(image.stride) * image.height);
    return image;
}

} // namespace receipt
