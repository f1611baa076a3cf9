#include "core/path_text.h"
#include "documents/document_file.h"
#include "tests/documents/documents_test_support.h"

#include <gtest/gtest.h>

namespace {

using documents_test::TempDir;

struct Case {
    const char* name;
    std::string file;
    std::string buffer;
};

// Every line ends in LF CR whatever the file's own line end; bytes are never decoded.
const Case cases[] = {
    {"three CR LF lines with accents (UTF-8)",
     "<CFe>\r\n<xProd>Caf\xc3\xa9 p\xc3\xa3o</xProd>\r\n</CFe>\r\n",
     "<CFe>\n\r<xProd>Caf\xc3\xa9 p\xc3\xa3o</xProd>\n\r</CFe>\n\r"},
    {"LF lines", "a\nb\n", "a\n\rb\n\r"},
    {"lone CR lines", "a\rb\r", "a\n\rb\n\r"},
    {"last line without an end", "a\r\nb", "a\n\rb\n\r"},
    {"empty lines kept", "a\r\n\r\n\nb\n", "a\n\r\n\r\n\rb\n\r"},
    {"Windows-1252 bytes and a BOM pass unchanged", "\xef\xbb\xbf<x>\xe7\xe3</x>",
     "\xef\xbb\xbf<x>\xe7\xe3</x>\n\r"},
    {"LF CR in the file is two line ends", "a\n\rb", "a\n\r\n\rb\n\r"},
    {"empty file", "", ""},
};

TEST(LeArquivo, EveryLineGetsLfThenCr) {
    TempDir dir;
    for (const auto& c : cases) {
        const auto file = dir.write("venda.xml", c.file);
        const auto read = documents::LeArquivo(core::utf8FromPath(file));
        EXPECT_EQ(read.bytes, c.buffer) << c.name;
        EXPECT_EQ(read.message, "") << c.name;
    }
}

TEST(LeArquivo, AMissingFileOrAFolderGivesAnEmptyBufferAndTheMessage) {
    TempDir dir;
    std::filesystem::create_directories(dir.path() / "pasta.xml");
    for (const std::string& name : {core::utf8FromPath(dir.path() / "n\xc3\xa3o-existe.xml"),
                                    core::utf8FromPath(dir.path() / "pasta.xml"), std::string()}) {
        const auto read = documents::LeArquivo(name);
        EXPECT_EQ(read.bytes, "") << name;
        EXPECT_EQ(read.message, "Arquivo: " + name + " não foi encontrado!");
    }
}

TEST(LeArquivo, AFileNamedInUtf8IsFound) {
    TempDir dir;
    const auto file = dir.write("vend\xc3\xa3.xml", "<a/>");
    EXPECT_EQ(documents::LeArquivo(core::utf8FromPath(file)).bytes, "<a/>\n\r");
}

} // namespace
