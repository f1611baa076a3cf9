#pragma once
// The receipt's barcodes and QR codes as dark rectangles, encoded by zint: a Code 128 symbol of
// the key's digits (all digits, so subset C throughout) and a QR code (model 2, level L, bytes).

#include <string_view>
#include <vector>

namespace receipt {

struct Rectangle {
    double x, y, width, height; // millimetres from the symbol's top left corner
};

struct Symbol {
    double width = 0, height = 0; // millimetres, quiet zones not included
    std::vector<Rectangle> bars;
};

// Code 128 of `digits` with modules of `moduleMm` and bars `heightMm` high, no text under it.
// Throws std::runtime_error when zint refuses the data.
Symbol code128(std::string_view digits, double moduleMm, double heightMm);

// A QR code of `content` with modules of `moduleMm`. Throws std::runtime_error when zint
// refuses the data (too long for a QR code).
Symbol qrCode(std::string_view content, double moduleMm);

} // namespace receipt
