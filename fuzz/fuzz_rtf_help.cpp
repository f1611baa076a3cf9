// The help files' RTF reader, on any bytes: every run's text is UTF-8, no run is empty, two runs
// next to each other in a paragraph differ in format (same-format text is one run), and sizes and
// colours stay in range.

#include "fuzz/fuzz_support.h"
#include "help/rtf_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view rtf(reinterpret_cast<const char*>(data), size);
    for (const auto& paragraph : help::parseRtf(rtf)) {
        for (std::size_t i = 0; i < paragraph.runs.size(); ++i) {
            const help::RtfRun& run = paragraph.runs[i];
            fuzz::require(fuzz::isUtf8(run.text), "help text is UTF-8", run.text);
            fuzz::require(!run.text.empty(), "no empty run");
            fuzz::require(i == 0 || !run.sameFormat(paragraph.runs[i - 1]),
                          "same-format neighbours are one run", run.text);
            fuzz::require(run.halfPoints >= 1 && run.halfPoints <= 3276, "font size in range");
            fuzz::require(!run.color || *run.color <= 0xFFFFFF, "colour is 0xRRGGBB");
        }
    }
    return 0;
}
