#include "app/rtf_reader.h"

#include "core/text.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace app {
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

void appendCodePoint(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

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
                text(std::string(1, c));
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
            state_.halfPoints = n > 0 ? n : 24;
        } else if (word == "plain") {
            const bool skip = state_.skip;
            const int uc = state_.unicodeSkip;
            state_ = GroupState{};
            state_.skip = skip;
            state_.unicodeSkip = uc;
        } else if (word == "uc") {
            state_.unicodeSkip = std::max(0, n);
        } else if (word == "u" && parameter) {
            const int value = *parameter < 0 ? *parameter + 65536 : *parameter;
            std::string s;
            appendCodePoint(s, static_cast<std::uint32_t>(value));
            text(s);
            skipFallback();
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
};

} // namespace

bool RtfRun::sameFormat(const RtfRun& o) const {
    return bold == o.bold && italic == o.italic && underline == o.underline && color == o.color &&
           halfPoints == o.halfPoints;
}

std::vector<RtfParagraph> parseRtf(std::string_view rtf) {
    return Parser(rtf).run();
}

} // namespace app
