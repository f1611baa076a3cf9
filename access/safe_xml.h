#pragma once
// XML that comes from outside (Integrador answers and requests): parsed without network access,
// without loading a DTD or external entities, and rejected when it declares a DTD or is larger
// than the limit. A UTF-8 byte-order mark is accepted.

#include <libxml/tree.h>

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace backend {

inline constexpr std::size_t maxXmlBytes = std::size_t{32} << 20;

class XmlDocument {
public:
    // The parsed document, or nullopt with `error` set to the parser's message.
    static std::optional<XmlDocument> parse(std::string_view bytes, std::string& error);

    const xmlNode* root() const;

private:
    struct Free {
        void operator()(xmlDoc* doc) const;
    };
    explicit XmlDocument(xmlDoc* doc) : doc_(doc) {}
    std::unique_ptr<xmlDoc, Free> doc_;
};

// The first child element of `node` with the local name `name`; nullptr when there is none.
const xmlNode* childElement(const xmlNode* node, std::string_view name);

// The element's text content (its text and CDATA, descendants included); empty for nullptr.
std::string textContent(const xmlNode* node);

// The text content of the element reached from `root` by `path`, whose first name is the
// root's own; empty when any step is missing.
std::string pathText(const xmlNode* root, std::initializer_list<std::string_view> path);

// An attribute's value; empty when absent.
std::string attribute(const xmlNode* node, const char* name);

// The whole file, or nullopt with `error` set when it cannot be read or exceeds `limit` bytes.
std::optional<std::string> readFileWithin(const std::filesystem::path& file, std::size_t limit,
                                          std::string& error);

} // namespace backend
