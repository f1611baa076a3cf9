#pragma once
// The receipt drawn with cairo on one continuous page the height of its lines, as a PDF or as
// an image for the window's preview: monospaced text in the columns of the paper width, the
// barcodes and QR codes centred.

#include "receipt/receipt_lines.h"

#include <string>
#include <vector>

namespace receipt {

double paperWidthMm(Paper paper);

// The PDF's bytes. Throws std::runtime_error when a code cannot be encoded or cairo fails.
std::string receiptPdf(const Receipt& receipt);

// The receipt at `dotsPerMm`, white paper, 32-bit premultiplied ARGB rows of `stride` bytes
// (QImage::Format_ARGB32_Premultiplied). Throws as receiptPdf.
struct Image {
    int width = 0, height = 0, stride = 0;
    std::vector<unsigned char> pixels;
};
Image receiptImage(const Receipt& receipt, double dotsPerMm);

} // namespace receipt
