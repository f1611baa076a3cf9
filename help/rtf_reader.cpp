#include "help/rtf_reader.h"

#include "core/text.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace help {
namespace {

struct GroupState {
    bool bold = false, italic = false, underline = false;
    int colorIndex = 0;
    int halfPoints = 24;
    bool skip = false;   // inside a destination whose text is not shown
    int unicodeSkip = 1; // \ucN: fallback characters that follow a \uN
};

// Destinations whose content is never text of the document.
constexpr std::string_view skippedDestinations[] = {
    "fonttbl",           "stylesheet", "info",      "pict",    "header",    "footer",
    "headerl",           "headerr",    "footerl",   "footerr", "object",    "listtable",
    "listoverridetable", "rsidtbl",    "generator", "filetbl", "themedata", "colorschememapping",
    "latentstyles",      "datastore",  "xmlnstbl",  "fldinst"};

// The largest font size editors offer (1638 points); a larger \fs is taken as this.
constexpr int maxHalfPoints = 3276;

constexpr char32_t replacement = 0xFFFD;

class Parser {
public:
    explicit Parser(std::string_view rtf) : in_(rtf) {}

    std::vector<RtfParagraph> run() {
        paragraphs_.emplace_back();
        while (pos_ < in_.size()) {
            const char c = in_[pos_];
            if (c == '{') {
                ++pos_;
                stack_.push_back(state_);
                continue;
            }
            if (c == '}') {
                ++pos_;
                if (!stack_.empty()) {
                    state_ = stack_.back();
                    stack_.pop_back();
                }
            } else if (c == '\\') {
                controlWord();
            } else if (c == '\r' || c == '\n') {
                ++pos_;
            } else {
                ++pos_;
                // RTF text is 7-bit; an 8-bit byte written as it is belongs to the document's
                // code page, Windows-1252.
                text(static_cast<unsigned char>(c) < 0x80 ? std::string(1, c)
                                                          : core::fromWindows1252({&c, 1}));
            }
        }
        if (paragraphs_.back().runs.empty() && paragraphs_.size() > 1)
            paragraphs_.pop_back();
        return std::move(paragraphs_);
    }

private:
    void controlWord() {
        ++pos_; // the backslash
        if (pos_ >= in_.size())
            return;
        const char c = in_[pos_];
        if (!std::isalpha(static_cast<unsigned char>(c))) {
            ++pos_;
            controlSymbol(c);
            return;
        }
        const std::size_t start = pos_;
        while (pos_ < in_.size() && std::isalpha(static_cast<unsigned char>(in_[pos_])))
            ++pos_;
        const std::string_view word = in_.substr(start, pos_ - start);
        std::optional<int> parameter;
        const std::size_t numberStart = pos_;
        if (pos_ < in_.size() &&
            (in_[pos_] == '-' || std::isdigit(static_cast<unsigned char>(in_[pos_])))) {
            ++pos_;
            while (pos_ < in_.size() && std::isdigit(static_cast<unsigned char>(in_[pos_])))
                ++pos_;
            int value = 0;
            std::from_chars(in_.data() + numberStart, in_.data() + pos_, value);
            parameter = value;
        }
        if (pos_ < in_.size() && in_[pos_] == ' ')
            ++pos_; // the delimiter belongs to the control word
        apply(word, parameter);
    }

    void controlSymbol(char c) {
        switch (c) {
        case '\\':
        case '{':
        case '}':
            text(std::string(1, c));
            break;
        case '~':
            text("\u00A0");
            break;
        case '_':
            text("-");
            break;
        case '\'':
            hexEscape();
            break;
        case '*':
            state_.skip = true; // an optional destination: its text is never shown
            break;
        case '\r':
        case '\n':
            newParagraph();
            break;
        default:
            break;
        }
    }

    // \'hh: one Windows-1252 byte. A broken escape is dropped, never shown as text.
    void hexEscape() {
        std::size_t digits = 0;
        while (digits < 2 && pos_ + digits < in_.size() &&
               std::isxdigit(static_cast<unsigned char>(in_[pos_ + digits])))
            ++digits;
        const std::size_t start = pos_;
        pos_ += digits;
        if (digits < 2)
            return;
        int value = 0;
        std::from_chars(in_.data() + start, in_.data() + start + 2, value, 16);
        text(core::fromWindows1252(std::string(1, char(value))));
    }

    void apply(std::string_view word, std::optional<int> parameter) {
        const int n = parameter.value_or(1);
        if (word == "colortbl") {
            colorTable();
        } else if (isSkippedDestination(word)) {
            state_.skip = true;
        } else if (word == "par") {
            newParagraph();
        } else if (word == "line") {
            text("\n");
        } else if (word == "tab") {
            text("\t");
        } else if (word == "b") {
            state_.bold = n != 0;
        } else if (word == "i") {
            state_.italic = n != 0;
        } else if (word == "ul") {
            state_.underline = n != 0;
        } else if (word == "ulnone") {
            state_.underline = false;
        } else if (word == "cf") {
            state_.colorIndex = n;
        } else if (word == "fs") {
            state_.halfPoints = n > 0 ? std::min(n, maxHalfPoints) : 24;
        } else if (word == "plain") {
            const bool skip = state_.skip;
            const int uc = state_.unicodeSkip;
            state_ = GroupState{};
            state_.skip = skip;
            state_.unicodeSkip = uc;
        } else if (word == "uc") {
            state_.unicodeSkip = std::max(0, n);
        } else if (word == "u" && parameter) {
            unicodeCharacter(*parameter);
            skipFallback();
        } else if (word == "bin") {
            // Binary data (pictures, objects): its bytes may hold anything, braces included.
            const std::size_t length = std::size_t(std::max(0, n));
            pos_ = std::min(in_.size(), pos_ + length);
        } else if (word == "emdash") {
            text("\u2014");
        } else if (word == "endash") {
            text("\u2013");
        } else if (word == "bullet") {
            text("\u2022");
        } else if (word == "lquote") {
            text("\u2018");
        } else if (word == "rquote") {
            text("\u2019");
        } else if (word == "ldblquote") {
            text("\u201C");
        } else if (word == "rdblquote") {
            text("\u201D");
        }
    }

    // \uN is a signed 16-bit UTF-16 unit; a character beyond U+FFFF comes as a surrogate pair.
    // Anything that is not a character becomes U+FFFD.
    void unicodeCharacter(int parameter) {
        const long unit = parameter < -32768 || parameter > 0xFFFF ? -1
                          : parameter < 0                          ? parameter + 65536L
                                                                   : parameter;
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            flushLoneSurrogate();
            highSurrogate_ = char32_t(unit);
            return;
        }
        char32_t cp = replacement;
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            if (highSurrogate_)
                cp = 0x10000 + ((*highSurrogate_ - 0xD800) << 10) + char32_t(unit - 0xDC00);
            highSurrogate_.reset();
        } else if (unit >= 0 && unit <= 0xFFFF) {
            cp = char32_t(unit);
        }
        std::string utf8;
        core::appendUtf8(utf8, cp);
        text(utf8);
    }

    // A high surrogate not followed by its low half.
    void flushLoneSurrogate() {
        if (!highSurrogate_)
            return;
        highSurrogate_.reset();
        std::string utf8;
        core::appendUtf8(utf8, replacement);
        text(utf8);
    }

    static bool isSkippedDestination(std::string_view word) {
        for (auto d : skippedDestinations)
            if (d == word)
                return true;
        return false;
    }

    // After \uN, the next N characters (a \'hh escape counts as one) are the fallback for
    // readers without Unicode.
    void skipFallback() {
        for (int i = 0; i < state_.unicodeSkip && pos_ < in_.size(); ++i) {
            if (in_[pos_] == '\\' && pos_ + 1 < in_.size() && in_[pos_ + 1] == '\'')
                pos_ += 4;
            else if (in_[pos_] == '{' || in_[pos_] == '}' || in_[pos_] == '\\')
                break;
            else
                ++pos_;
        }
    }

    // "\red255\green0\blue0;" entries up to the group's end; an empty first entry is the
    // automatic colour.
    void colorTable() {
        std::uint32_t r = 0, g = 0, b = 0;
        bool any = false;
        while (pos_ < in_.size() && in_[pos_] != '}') {
            if (in_[pos_] == ';') {
                colors_.push_back(any ? std::optional<std::uint32_t>((r << 16) | (g << 8) | b)
                                      : std::nullopt);
                r = g = b = 0;
                any = false;
                ++pos_;
            } else if (in_[pos_] == '\\') {
                ++pos_;
                const std::size_t start = pos_;
                while (pos_ < in_.size() && std::isalpha(static_cast<unsigned char>(in_[pos_])))
                    ++pos_;
                const std::string_view word = in_.substr(start, pos_ - start);
                const std::size_t numberStart = pos_;
                while (pos_ < in_.size() && std::isdigit(static_cast<unsigned char>(in_[pos_])))
                    ++pos_;
                int value = 0;
                std::from_chars(in_.data() + numberStart, in_.data() + pos_, value);
                const auto channel = static_cast<std::uint32_t>(std::clamp(value, 0, 255));
                if (word == "red")
                    r = channel, any = true;
                else if (word == "green")
                    g = channel, any = true;
                else if (word == "blue")
                    b = channel, any = true;
                if (pos_ < in_.size() && in_[pos_] == ' ')
                    ++pos_;
            } else {
                ++pos_;
            }
        }
    }

    void text(const std::string& utf8) {
        flushLoneSurrogate();
        if (state_.skip)
            return;
        RtfRun run;
        run.bold = state_.bold;
        run.italic = state_.italic;
        run.underline = state_.underline;
        run.halfPoints = state_.halfPoints;
        if (state_.colorIndex > 0 && std::size_t(state_.colorIndex) < colors_.size())
            run.color = colors_[std::size_t(state_.colorIndex)];
        auto& runs = paragraphs_.back().runs;
        if (!runs.empty() && runs.back().sameFormat(run))
            runs.back().text += utf8;
        else {
            run.text = utf8;
            runs.push_back(std::move(run));
        }
    }

    void newParagraph() {
        if (!state_.skip)
            paragraphs_.emplace_back();
    }

    std::string_view in_;
    std::size_t pos_ = 0;
    GroupState state_;
    std::vector<GroupState> stack_;
    std::vector<std::optional<std::uint32_t>> colors_;
    std::vector<RtfParagraph> paragraphs_;
    std::optional<char32_t> highSurrogate_;
};

} // namespace

bool RtfRun::sameFormat(const RtfRun& o) const {
    return bold == o.bold && italic == o.italic && underline == o.underline && color == o.color &&
           halfPoints == o.halfPoints;
}

std::vector<RtfParagraph> parseRtf(std::string_view rtf) {
    return Parser(rtf).run();
}

} // namespace help
