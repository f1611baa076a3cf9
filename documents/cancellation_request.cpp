#include "documents/cancellation_request.h"

#include "core/text.h"
#include "core/whole_file.h"
#include "documents/path_text.h"
#include "xml/xml_security.h"

#include <libxml/xmlsave.h>
#include <libxml/xpath.h>

#include <memory>
#include <new>
#include <stdexcept>
#include <system_error>

namespace documents {
namespace {

const xmlChar* xml(const char* text) {
    return reinterpret_cast<const xmlChar*>(text);
}

// A file read with the safe reader, and the values paths find in it.
class PathReader {
public:
    explicit PathReader(const std::filesystem::path& file) : parsed_(xml::readXmlFileSafely(file)) {
        if (!parsed_.doc)
            return;
        context_.reset(xmlXPathNewContext(parsed_.doc.get()));
        if (!context_)
            throw std::bad_alloc();
    }

    // The text of the first node the path finds; empty when it finds none or the file is no
    // XML. An element's text loses the blanks around it; an attribute's value is taken whole.
    std::string operator()(const char* path) const {
        return context_ ? firstText(*context_, path) : std::string();
    }

private:
    static std::string firstText(xmlXPathContext& context, const char* path);

    xml::XmlParseResult parsed_;
    std::unique_ptr<xmlXPathContext, decltype(&xmlXPathFreeContext)> context_{nullptr,
                                                                              &xmlXPathFreeContext};
};

std::string PathReader::firstText(xmlXPathContext& context, const char* path) {
    std::unique_ptr<xmlXPathObject, decltype(&xmlXPathFreeObject)> found(
        xmlXPathEvalExpression(xml(path), &context), &xmlXPathFreeObject);
    if (!found || !found->nodesetval || found->nodesetval->nodeNr == 0)
        return {};
    const xmlNode* node = found->nodesetval->nodeTab[0];
    xmlChar* content = xmlNodeGetContent(node);
    std::string text = content ? reinterpret_cast<const char*>(content) : "";
    xmlFree(content);
    return node->type == XML_ATTRIBUTE_NODE ? text : core::trimmed(text);
}

void addText(xmlNode* parent, const char* name, const std::string& value) {
    xmlNewTextChild(parent, nullptr, xml(name), xml(value.c_str()));
}

// The document's root element serialised in UTF-8 on one line, empty elements with both tags.
// The XML declaration is left out: libxml2 would end it with a line break. A line feed inside a
// value is written as a character reference (libxml2 already writes a carriage return so): the
// file is then read line by line with its line ends rewritten, which would change the value.
std::string serialised(xmlDoc& doc) {
    std::unique_ptr<xmlBuffer, decltype(&xmlBufferFree)> buffer(xmlBufferCreate(), &xmlBufferFree);
    if (!buffer)
        throw std::bad_alloc();
    xmlSaveCtxt* save = xmlSaveToBuffer(buffer.get(), "UTF-8", XML_SAVE_NO_EMPTY);
    if (!save)
        throw std::bad_alloc();
    xmlSaveTree(save, xmlDocGetRootElement(&doc));
    if (xmlSaveClose(save) < 0)
        throw std::runtime_error("Não foi possível montar o CFeCanc.");
    const std::string_view raw(reinterpret_cast<const char*>(xmlBufferContent(buffer.get())),
                               static_cast<std::size_t>(xmlBufferLength(buffer.get())));
    std::string text;
    for (const char c : raw)
        text += c == '\n' ? std::string_view("&#10;") : std::string_view(&c, 1);
    return text;
}

// Saves the document and its line end whole, creating the folder when it is missing.
void save(const std::filesystem::path& file, const std::string& document) {
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    if (ec)
        throw std::runtime_error("Não foi possível criar a pasta " +
                                 core::utf8FromPath(file.parent_path()) + ": " + ec.message());
    std::string error;
    if (!core::writeFileWhole(file, document + "\r\n", error))
        throw std::runtime_error("Não foi possível gravar " + core::utf8FromPath(file) + ": " +
                                 error);
}

GeneratedCancellation generate(const std::filesystem::path& issuedCFe, bool withCustomer,
                               const std::filesystem::path& target) {
    const IssuedCFeValues values = readIssuedCFe(issuedCFe);
    GeneratedCancellation generated{
        target, cancellationDocument(values, withCustomer), values.key, {}};
    save(target, generated.document);
    return generated;
}

} // namespace

IssuedCFeValues readIssuedCFe(const std::filesystem::path& file) {
    const PathReader read(file);
    return {read("//CFe/infCFe/@Id"),        read("//CFe/infCFe/ide/CNPJ"),
            read("//CFe/infCFe/ide/signAC"), read("//CFe/infCFe/ide/numeroCaixa"),
            read("//CFe/infCFe/dest/CNPJ"),  read("//CFe/infCFe/dest/CPF")};
}

std::string cancellationKeyOf(const std::filesystem::path& file) {
    return PathReader(file)("//CFeCanc/infCFe/@chCanc");
}

std::string cancellationDocument(const IssuedCFeValues& values, bool withCustomer) {
    const xml::XmlDoc doc(xmlNewDoc(xml("1.0")));
    if (!doc)
        throw std::bad_alloc();
    xmlNode* root = xmlNewDocNode(doc.get(), nullptr, xml("CFeCanc"), nullptr);
    xmlDocSetRootElement(doc.get(), root);
    xmlNode* infCFe = xmlNewChild(root, nullptr, xml("infCFe"), nullptr);
    xmlNewProp(infCFe, xml("chCanc"), xml(values.key.c_str()));
    xmlNode* ide = xmlNewChild(infCFe, nullptr, xml("ide"), nullptr);
    addText(ide, "CNPJ", values.cnpj);
    addText(ide, "signAC", values.signAC);
    addText(ide, "numeroCaixa", values.numeroCaixa);
    xmlNewChild(infCFe, nullptr, xml("emit"), nullptr);
    xmlNode* dest = xmlNewChild(infCFe, nullptr, xml("dest"), nullptr);
    if (withCustomer && !values.customerCnpj.empty())
        addText(dest, "CNPJ", values.customerCnpj);
    if (withCustomer && !values.customerCpf.empty())
        addText(dest, "CPF", values.customerCpf);
    xmlNewChild(infCFe, nullptr, xml("total"), nullptr);
    xmlNewChild(infCFe, nullptr, xml("infAdic"), nullptr);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + serialised(*doc);
}

bool cancellationWritesCustomer(Layout layout) {
    return layout == Layout::V006;
}

std::string saleFileNameOf(std::string_view issuedFileName) {
    constexpr std::string_view prefix = "Resp_";
    if (issuedFileName.starts_with(prefix))
        issuedFileName.remove_prefix(prefix.size());
    return std::string(issuedFileName);
}

GeneratedCancellation generateAfterSale(const std::filesystem::path& respFile,
                                        std::string_view saleFileName, Layout layout,
                                        const std::filesystem::path& programFolder) {
    const std::string name = "C_" + std::string(saleFileName);
    GeneratedCancellation generated =
        generate(respFile, cancellationWritesCustomer(layout),
                 programFolder / "Para_Cancelar" / core::pathFromUtf8(name));
    generated.message = "XML para cancelamento gerado na pasta Para_Cancelar com nome: " + name;
    return generated;
}

std::filesystem::path generatedCancellationFile(std::string_view fieldText,
                                                const std::filesystem::path& programFolder) {
    return programFolder / "Temp" / core::pathFromUtf8("Canc_" + fileNamePart(fieldText));
}

void removeGeneratedCancellation(std::string_view fieldText,
                                 const std::filesystem::path& programFolder) {
    const auto file = generatedCancellationFile(fieldText, programFolder);
    std::error_code ec;
    // A request left behind would be sent instead of one generated from the new choice.
    if (!std::filesystem::remove(file, ec) && ec)
        throw std::runtime_error("Não foi possível apagar " + core::utf8FromPath(file) + ": " +
                                 ec.message());
}

GeneratedCancellation generateFromIssuedCFe(std::string_view fieldText, Layout layout,
                                            const std::filesystem::path& programFolder) {
    GeneratedCancellation generated =
        generate(core::pathFromUtf8(core::trimmed(fieldText)), cancellationWritesCustomer(layout),
                 generatedCancellationFile(fieldText, programFolder));
    generated.message =
        "CFeCanc gerado na pasta Temp com nome: " + core::utf8FromPath(generated.file.filename());
    return generated;
}

} // namespace documents
