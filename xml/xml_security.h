#pragma once
// The one way XML from outside the program is read: documents chosen by the user, schema files,
// module and Integrador answers. No network, no DTD loading, no entity expansion, and a size limit;
// a DOCTYPE that declares entities is refused at the declaration, before anything is expanded.

#include <libxml/tree.h>

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace xml {

struct XmlDocFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using XmlDoc = std::unique_ptr<xmlDoc, XmlDocFree>;

// Why and where a text could not be taken as XML. For well-formedness errors the code and reason
// are libxml2's; a refused entity declaration has code XML_ERR_USER_STOP, a missing or unreadable
// file XML_IO_ENOENT or XML_IO_EIO, a text over the size limit XML_IO_EFBIG, with a Portuguese
// reason.
struct XmlParseError {
    int code = 0;
    std::string reason; // without trailing line break
    int line = 0;       // 1-based, 0 when unknown
    int column = 0;     // 1-based position in the line, 0 when unknown
    long offset = 0;    // bytes from the start of the input
};

struct XmlParseResult {
    XmlDoc doc;          // null when the text was refused
    XmlParseError error; // meaningful only when doc is null
};

inline constexpr std::size_t kMaxXmlBytes = 16 * 1024 * 1024;

struct XmlReadOptions {
    std::size_t maxBytes = kMaxXmlBytes;
    // Drops whitespace-only text between elements (not in mixed content), for re-indenting.
    bool dropBlankText = false;
};

// libxml2's message text on one line: trimmed, inner line breaks turned into spaces.
std::string libxmlMessage(const char* message);

// Parses XML bytes. Nesting is limited to libxml2's default depth (256), so recursive walks over
// the tree are bounded.
XmlParseResult parseXmlSafely(std::string_view bytes, const XmlReadOptions& options = {});

// Reads a file (refusing it unread when it exceeds the size limit) and parses it as above.
XmlParseResult readXmlFileSafely(const std::filesystem::path& file,
                                 const XmlReadOptions& options = {});

} // namespace xml
