#include "xml/schema_errors.h"

#include "xml/schema_relaxation.h"

#include <libxml/xmlerror.h>

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <unordered_set>
#include <utility>

namespace xml {
namespace {

// libxml2 reports both a rejected child and missing children with this code; only the text tells
// them apart (libxml2's messages are not translated).
constexpr std::string_view kNotExpected = "This element is not expected";

struct Found {
    xmlNode* node = nullptr;
    std::string reason;
    bool contentError = false; // the parent's content model failed
    bool notExpected = false;  // ... at this (rejected) element
};

void onValidityError(void* data, xmlErrorPtr error) {
    if (error->level < XML_ERR_ERROR)
        return;
    Found found{static_cast<xmlNode*>(error->node), libxmlMessage(error->message),
                error->code == XML_SCHEMAV_ELEMENT_CONTENT, false};
    found.notExpected = found.contentError && found.reason.find(kNotExpected) != std::string::npos;
    static_cast<std::vector<Found>*>(data)->push_back(std::move(found));
}

std::vector<Found> validate(xmlSchema* schema, xmlDoc* doc) {
    std::unique_ptr<xmlSchemaValidCtxt, decltype(&xmlSchemaFreeValidCtxt)> ctxt(
        xmlSchemaNewValidCtxt(schema), &xmlSchemaFreeValidCtxt);
    if (!ctxt)
        throw std::bad_alloc();
    std::vector<Found> found;
    xmlSchemaSetValidStructuredErrors(ctxt.get(), &onValidityError, &found);
    if (xmlSchemaValidateDoc(ctxt.get(), doc) < 0 && found.empty())
        throw std::runtime_error("Erro interno do validador XSD.");
    return found;
}

// Errors found at an attribute belong to its element.
const xmlNode* elementOf(const xmlNode* node) {
    while (node && node->type != XML_ELEMENT_NODE)
        node = node->parent;
    return node;
}

// The parent whose content model an error is about.
const xmlNode* contentOwner(const xmlNode* node, const Found& found) {
    return found.notExpected && node ? node->parent : node;
}

// Collects the errors to report, across the passes.
class Report {
public:
    void add(const xmlNode* node, const Found& found) {
        if (!known_.emplace(node, found.reason).second)
            return;
        if (found.contentError && !brokenContent_.insert(contentOwner(node, found)).second)
            return;
        errors_.push_back({node, found.reason});
    }
    std::vector<SchemaError> take() { return std::move(errors_); }

private:
    std::vector<SchemaError> errors_;
    std::set<std::pair<const xmlNode*, std::string>> known_;
    std::unordered_set<const xmlNode*> brokenContent_;
};

// Element names from the root down to node.
std::vector<std::string> namePath(const xmlNode* node) {
    std::vector<std::string> path;
    for (; node && node->type == XML_ELEMENT_NODE; node = node->parent)
        path.emplace_back(reinterpret_cast<const char*>(node->name));
    return {path.rbegin(), path.rend()};
}

// A copy of the document, from which elements no declaration accepts are taken out. Every
// element of the copy points to its original through _private.
class DocumentCopy {
public:
    explicit DocumentCopy(xmlDoc& original) : copy_(xmlCopyDoc(&original, 1)) {
        if (!copy_)
            throw std::bad_alloc();
        link(reinterpret_cast<xmlNode*>(&original), reinterpret_cast<xmlNode*>(copy_.get()));
    }
    ~DocumentCopy() {
        for (xmlNode* node : removed_)
            xmlFreeNode(node);
    }
    DocumentCopy(const DocumentCopy&) = delete;
    DocumentCopy& operator=(const DocumentCopy&) = delete;

    xmlDoc* doc() { return copy_.get(); }

    xmlNode* copyOf(const xmlNode* original) const {
        const auto it = copies_.find(original);
        return it == copies_.end() ? nullptr : it->second;
    }

    static const xmlNode* originalOf(const xmlNode* node) {
        node = elementOf(node);
        return node ? static_cast<const xmlNode*>(node->_private) : nullptr;
    }

    void remove(xmlNode* node) {
        xmlUnlinkNode(node);
        removed_.push_back(node);
    }

private:
    void link(xmlNode* original, xmlNode* copy) {
        xmlNode* o = original->children;
        xmlNode* c = copy->children;
        for (; o && c && o->type == c->type; o = o->next, c = c->next) {
            if (o->type != XML_ELEMENT_NODE)
                continue;
            c->_private = o;
            copies_.emplace(o, c);
            link(o, c);
        }
    }

    XmlDoc copy_;
    std::unordered_map<const xmlNode*, xmlNode*> copies_;
    std::vector<xmlNode*> removed_;
};

// The schema with the content models of some elements relaxed (see schema_relaxation.h).
class RelaxedSchema {
public:
    explicit RelaxedSchema(const XsdSchema& strict)
        : strict_(strict), doc_(xmlCopyDoc(strict.doc.get(), 1)) {
        if (!doc_)
            throw std::bad_alloc();
    }

    bool isRelaxed(const std::vector<std::string>& path) const { return accepted_.contains(path); }

    // The child names the relaxed model of the element at path accepts, relaxing it on the first
    // call; null when the element has no content model of its own to relax.
    const std::set<std::string>* accepted(const std::vector<std::string>& path) {
        auto it = accepted_.find(path);
        if (it == accepted_.end()) {
            compiled_.schema.reset(); // the compiled schema refers to the document about to change
            it = accepted_.emplace(path, relaxContentModel(*doc_, path)).first;
        }
        return it->second ? &*it->second : nullptr;
    }

    // Throws std::runtime_error when the relaxed schema does not compile.
    xmlSchema* schema() {
        if (accepted_.empty())
            return strict_.schema.get();
        if (!compiled_.schema) {
            XmlDoc copy(xmlCopyDoc(doc_.get(), 1));
            if (!copy)
                throw std::bad_alloc();
            compiled_ = compileXsdSchema(std::move(copy), "relaxed schema");
        }
        return compiled_.schema.get();
    }

private:
    const XsdSchema& strict_;
    XmlDoc doc_;
    std::map<std::vector<std::string>, std::optional<std::set<std::string>>> accepted_;
    XsdSchema compiled_;
};

} // namespace

std::vector<SchemaError> schemaErrors(const XsdSchema& schema, xmlDoc& doc) {
    Report report;
    std::vector<const xmlNode*> rejected;
    for (const Found& found : validate(schema.schema.get(), &doc)) {
        report.add(elementOf(found.node), found);
        if (found.notExpected && found.node)
            rejected.push_back(found.node);
    }
    if (rejected.empty())
        return report.take();

    DocumentCopy copy(doc);
    RelaxedSchema relaxed(schema);
    std::vector<xmlNode*> pending;
    for (const xmlNode* node : rejected)
        if (xmlNode* element = copy.copyOf(node))
            pending.push_back(element);
    for (int pass = 0; pass < kMaxRecoveryPasses && !pending.empty(); ++pass) {
        // Relax the model of each parent that rejected a child. A child the relaxed model does
        // not declare, or that a model relaxed in an earlier pass still rejects, is taken out.
        std::set<std::vector<std::string>> relaxedNow;
        for (xmlNode* node : pending) {
            const auto parentPath = namePath(node->parent);
            const bool known = relaxed.isRelaxed(parentPath);
            if (!known)
                relaxedNow.insert(parentPath);
            const bool earlier = known && !relaxedNow.contains(parentPath);
            const auto* names = relaxed.accepted(parentPath);
            if (earlier || !names || !names->contains(reinterpret_cast<const char*>(node->name)))
                copy.remove(node);
        }
        pending.clear();
        xmlSchema* current = nullptr;
        try {
            current = relaxed.schema();
        } catch (const std::runtime_error&) {
            break; // the relaxed model is not a valid schema: keep what was found
        }
        for (const Found& found : validate(current, copy.doc())) {
            report.add(DocumentCopy::originalOf(found.node), found);
            if (found.notExpected && found.node)
                pending.push_back(found.node);
        }
    }
    return report.take();
}

SubtreeErrors::SubtreeErrors(std::vector<SchemaError> errors, const xmlDoc& doc)
    : errors_(std::move(errors)) {
    const xmlNode* root = xmlDocGetRootElement(&doc);
    for (std::size_t i = 0; i < errors_.size(); ++i) {
        // Once a node already has an earlier error, so have all its ancestors.
        for (const xmlNode* node = errors_[i].node ? errors_[i].node : root;
             node && node->type != XML_DOCUMENT_NODE; node = node->parent)
            if (!first_.emplace(node, i).second)
                break;
    }
}

std::string_view SubtreeErrors::firstIn(const xmlNode* element) const {
    const auto it = first_.find(element);
    return it == first_.end() ? std::string_view{} : std::string_view{errors_[it->second].reason};
}

} // namespace xml
