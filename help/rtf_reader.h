#pragma once
// A reader for the subset of RTF the help texts use: paragraphs, bold, italic, underline, the
// colour table, font sizes, \'hh Windows-1252 escapes and \uN characters. Unknown control
// words and destinations are skipped, never shown as text.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace help {

struct RtfRun {
    std::string text; // UTF-8
    bool bold = false;
    bool italic = false;
    bool underline = false;
    std::optional<std::uint32_t> color; // 0xRRGGBB; none for the automatic colour
    int halfPoints = 24;                // font size in half points (\fs)

    bool sameFormat(const RtfRun& other) const;
};

struct RtfParagraph {
    std::vector<RtfRun> runs;
};

std::vector<RtfParagraph> parseRtf(std::string_view rtf);

} // namespace help
