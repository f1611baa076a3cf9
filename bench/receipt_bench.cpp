// The receipt of a CF-e the module emulator issued, from its bytes to the PDF's bytes.
//
// BM_ReceiptLines/N  reading the CF-e and laying out its lines (80 mm, full)
// BM_ReceiptPdf/N    the same, then drawing the PDF with its barcode and QR code; N = 500 is
//                    the largest CF-e the schemas admit
//
// Run: build/receipt_bench

#include "receipt/receipt_drawing.h"
#include "receipt/receipt_lines.h"
#include "tests/receipt/issuing_module.h"

#include <benchmark/benchmark.h>

#include <map>

namespace {

// One issued CF-e of `items` items, issued once per size.
const std::string& issued(int items) {
    static receipt_test::IssuingModule module;
    static std::map<int, std::string> documents;
    auto [at, fresh] = documents.try_emplace(items);
    if (fresh)
        at->second = module.sell(emulator_test::saleDocument(items));
    return at->second;
}

receipt::Receipt laidOut(const std::string& cfe) {
    const auto read = receipt::readSale(cfe);
    return receipt::saleReceipt(*read.document, receipt::Paper::mm80, receipt::Variant::full);
}

void BM_ReceiptLines(benchmark::State& state) {
    const std::string& cfe = issued(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(laidOut(cfe));
}
BENCHMARK(BM_ReceiptLines)->Arg(1)->Arg(50)->Arg(500)->Unit(benchmark::kMillisecond);

void BM_ReceiptPdf(benchmark::State& state) {
    const std::string& cfe = issued(static_cast<int>(state.range(0)));
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string pdf = receipt::receiptPdf(laidOut(cfe));
        bytes = pdf.size();
        benchmark::DoNotOptimize(pdf.data());
    }
    state.counters["pdf_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ReceiptPdf)->Arg(1)->Arg(50)->Arg(500)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
