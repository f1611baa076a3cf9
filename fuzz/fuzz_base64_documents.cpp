// Base64 as modules return it (the workbench's lenient decoder and the returned documents built
// on it), the emulator's strict decoder of the AC signature and certificates, and LeArquivo.
// Byte 0 chooses; the rest is the text or the file's bytes. A decoded text re-encodes to its
// canonical form (blanks and line breaks gone where tolerated, padding present, unused low bits
// zero); any bytes encoded, broken into lines and stripped of padding decode back to themselves;
// a returned document's lines are the decoded bytes cut at line ends; LeArquivo gives the file's
// lines, unchanged, each followed by LF CR.

#include "core/base64.h"
#include "documents/document_file.h"
#include "documents/returned_document.h"
#include "emulator/sale/crypto.h"
#include "fuzz/fuzz_support.h"

#include <algorithm>

namespace {

constexpr std::string_view alphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// The standard encoding, padded.
std::string encode(std::string_view bytes) {
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        std::uint32_t bits = std::uint32_t(static_cast<unsigned char>(bytes[i])) << 16;
        if (i + 1 < bytes.size())
            bits |= std::uint32_t(static_cast<unsigned char>(bytes[i + 1])) << 8;
        if (i + 2 < bytes.size())
            bits |= static_cast<unsigned char>(bytes[i + 2]);
        const std::size_t characters = std::min<std::size_t>(bytes.size() - i, 3) + 1;
        for (std::size_t k = 0; k < 4; ++k)
            text += k < characters ? alphabet[(bits >> (18 - 6 * k)) & 0x3F] : '=';
    }
    return text;
}

// A text a decoder accepted, in the form an encoder writes it: the skipped characters removed,
// padding completed, and the bits the last group does not use set to zero.
std::string canonical(std::string_view text, std::string_view skipped) {
    std::string data;
    for (const char c : text) {
        if (c != '=' && skipped.find(c) == std::string_view::npos)
            data += c;
    }
    const std::size_t over = data.size() % 4;
    if (over == 2 || over == 3) {
        const std::uint32_t unusedBits = over == 2 ? 0x0F : 0x03;
        const std::size_t value = alphabet.find(data.back());
        data.back() = alphabet[value & ~unusedBits];
        data.append(4 - over, '=');
    }
    return data;
}

void checkLenient(std::string_view text) {
    if (const auto bytes = core::decodeBase64Lenient(text)) {
        fuzz::require(encode(*bytes) == canonical(text, "\r\n \t"),
                      "a decoded text re-encodes to its canonical form", text);
        const auto lines = documents::decodeReturnedDocument(text);
        fuzz::require(lines && *lines == documents::splitByteLines(*bytes),
                      "a returned document is its decoded bytes cut at line ends");
    } else {
        fuzz::require(!documents::decodeReturnedDocument(text),
                      "text that is not Base64 is no returned document");
    }

    // The other way: the input as bytes, encoded as modules send it.
    std::string broken = encode(text);
    while (!broken.empty() && broken.back() == '=')
        broken.pop_back();
    for (std::size_t at = 76; at < broken.size(); at += 78)
        broken.insert(at, "\r\n");
    fuzz::require(core::decodeBase64Lenient(broken) == std::string(text),
                  "broken lines and missing padding decode to the bytes", broken);
}

void checkStrict(std::string_view text) {
    if (const auto bytes = emulator::base64Decode(text)) {
        fuzz::require(encode(*bytes) == canonical(text, ""),
                      "the strict decoder re-encodes to its canonical form", text);
    }
    fuzz::require(emulator::base64Encode(text) == encode(text), "the emulator encodes plainly");
    fuzz::require(emulator::base64Decode(encode(text)) == std::string(text),
                  "the emulator decodes what it encodes");
}

void checkLeArquivo(std::string_view bytes) {
    const auto file = fuzz::scratchFolder() / "documento.xml";
    fuzz::writeFile(file, bytes);
    const auto read = documents::LeArquivo(file.string());
    fuzz::require(read.message.empty(), "a readable file gives no message", read.message);

    std::string expected;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        expected +=
            (bytes[i] == '\r' || bytes[i] == '\n') ? std::string("\n\r") : std::string(1, bytes[i]);
    }
    if (!expected.empty() && !expected.ends_with("\n\r"))
        expected += "\n\r";
    fuzz::require(read.bytes == expected, "LeArquivo ends every line with LF CR", read.bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [selector, rest] = fuzz::splitSelector(data, size);
    switch (selector % 3) {
    case 0:
        checkLenient(rest);
        break;
    case 1:
        checkStrict(rest);
        break;
    default:
        checkLeArquivo(rest);
        break;
    }
    return 0;
}
