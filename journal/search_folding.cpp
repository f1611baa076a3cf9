#include "journal/search_folding.h"

#include <array>

namespace journal {
namespace {

constexpr char32_t firstFolded = 0xC0; // À
constexpr char32_t lastFolded = 0x17F; // ſ

struct Run {
    char32_t first;
    char32_t last;
    std::string_view folded;
};

// The letters from U+00C0 to U+017F by runs of the same base letter; × and ÷ are not letters
// and stay as they are.
constexpr Run runs[] = {
    {0xC0, 0xC5, "a"},   {0xC6, 0xC6, "ae"},   {0xC7, 0xC7, "c"},   {0xC8, 0xCB, "e"},
    {0xCC, 0xCF, "i"},   {0xD0, 0xD0, "d"},    {0xD1, 0xD1, "n"},   {0xD2, 0xD6, "o"},
    {0xD8, 0xD8, "o"},   {0xD9, 0xDC, "u"},    {0xDD, 0xDD, "y"},   {0xDE, 0xDE, "th"},
    {0xDF, 0xDF, "ss"},  {0xE0, 0xE5, "a"},    {0xE6, 0xE6, "ae"},  {0xE7, 0xE7, "c"},
    {0xE8, 0xEB, "e"},   {0xEC, 0xEF, "i"},    {0xF0, 0xF0, "d"},   {0xF1, 0xF1, "n"},
    {0xF2, 0xF6, "o"},   {0xF8, 0xF8, "o"},    {0xF9, 0xFC, "u"},   {0xFD, 0xFD, "y"},
    {0xFE, 0xFE, "th"},  {0xFF, 0xFF, "y"},    {0x100, 0x105, "a"}, {0x106, 0x10D, "c"},
    {0x10E, 0x111, "d"}, {0x112, 0x11B, "e"},  {0x11C, 0x123, "g"}, {0x124, 0x127, "h"},
    {0x128, 0x131, "i"}, {0x132, 0x133, "ij"}, {0x134, 0x135, "j"}, {0x136, 0x138, "k"},
    {0x139, 0x142, "l"}, {0x143, 0x14B, "n"},  {0x14C, 0x151, "o"}, {0x152, 0x153, "oe"},
    {0x154, 0x159, "r"}, {0x15A, 0x161, "s"},  {0x162, 0x167, "t"}, {0x168, 0x173, "u"},
    {0x174, 0x175, "w"}, {0x176, 0x178, "y"},  {0x179, 0x17E, "z"}, {0x17F, 0x17F, "s"},
};

using Table = std::array<std::string_view, lastFolded - firstFolded + 1>;

constexpr Table table() {
    Table folded{};
    for (const Run& run : runs)
        for (char32_t c = run.first; c <= run.last; ++c)
            folded[c - firstFolded] = run.folded;
    return folded;
}

constexpr Table foldedLetters = table();

bool continuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

} // namespace

void foldForSearch(std::string_view text, std::string& out) {
    out.clear();
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 'A' && byte <= 'Z') {
            out += static_cast<char>(byte | 0x20);
            continue;
        }
        // U+00C0 to U+017F take two bytes, led by C3, C4 or C5.
        if (byte >= 0xC3 && byte <= 0xC5 && i + 1 < text.size()) {
            const auto next = static_cast<unsigned char>(text[i + 1]);
            if (continuation(next)) {
                const char32_t c = char32_t(byte & 0x1F) << 6 | char32_t(next & 0x3F);
                if (c >= firstFolded && !foldedLetters[c - firstFolded].empty()) {
                    out += foldedLetters[c - firstFolded];
                    ++i;
                    continue;
                }
            }
        }
        out += static_cast<char>(byte);
    }
}

std::string foldedForSearch(std::string_view text) {
    std::string out;
    foldForSearch(text, out);
    return out;
}

} // namespace journal
