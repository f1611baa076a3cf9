#pragma once
// The document a sale, an end-to-end test or a cancellation sends, read from the user's file.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace documents {

struct DocumentText {
    std::string bytes;   // what goes out as the document parameter; empty when the file failed
    std::string message; // for a message box when the file could not be read; empty otherwise
};

// The largest file LeArquivo reads: far above the 1500 KB a module accepts, far below what could
// exhaust memory.
inline constexpr std::size_t maxDocumentBytes = 64 * 1024 * 1024;

// LeArquivo: the file's bytes, never decoded or re-encoded, line by line: each line (its own line
// end left out: CR LF, LF or a lone CR) followed by LF then CR, the last line too. A file that is
// missing (or is not a regular file) gives empty bytes and "Arquivo: <name> não foi encontrado!";
// one that cannot be read, or is larger than maxDocumentBytes, empty bytes and "Erro ao tentar
// acessar o arquivo: <name>". fileName is UTF-8, as typed in the page's field.
DocumentText LeArquivo(std::string_view fileName);

// Bytes split into lines at CR, LF or CR LF, each line's bytes unchanged; a final line break adds
// no line.
std::vector<std::string> splitByteLines(std::string_view bytes);

// The line-by-line rewriting LeArquivo applies to the bytes it read.
std::string withLineEndsLfCr(std::string_view bytes);

// True when fileName (UTF-8, as typed) names an existing regular file.
bool isExistingFile(std::string_view fileName);

} // namespace documents
