#include "issued_documents.h"

#include "tests/portable.h"

#include <libxml/parser.h>
#include <libxml/xmlschemas.h>
#include <libxml/xpath.h>
#include <openssl/evp.h>
#include <openssl/pem.h>

#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace emulator_test {
namespace {

std::string readWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeWhole(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

void collectError(void* sink, const char* format, ...) {
    char message[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    *static_cast<std::string*>(sink) += message;
}

std::string withoutDeclaration(const std::string& xml) {
    const auto end = xml.find("?>");
    return xml.rfind("<?xml", 0) == 0 ? xml.substr(end + 2) : xml;
}

} // namespace

std::string decodeBase64(const std::string& text) {
    std::string bytes(text.size(), '\0');
    const int size = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(bytes.data()),
                                     reinterpret_cast<const unsigned char*>(text.data()),
                                     static_cast<int>(text.size()));
    if (size < 0)
        return {};
    const std::size_t padding = text.size() >= 2 && text.substr(text.size() - 2) == "==" ? 2
                                : !text.empty() && text.back() == '='                    ? 1
                                                                                         : 0;
    bytes.resize(static_cast<std::size_t>(size) - padding);
    return bytes;
}

std::string encodeBase64(const std::string& bytes) {
    std::string text(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    const int size = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()),
                                     reinterpret_cast<const unsigned char*>(bytes.data()),
                                     static_cast<int>(bytes.size()));
    text.resize(static_cast<std::size_t>(size));
    return text;
}

namespace {

// A certificate for `subjectKey`, valid three years from now, signed by `issuerKey`.
std::string issueCertificate(EVP_PKEY* subjectKey, EVP_PKEY* issuerKey, long validDays) {
    X509* cert = X509_new();
    X509_set_version(cert, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert), 4711);
    X509_gmtime_adj(X509_getm_notBefore(cert), 0);
    X509_gmtime_adj(X509_getm_notAfter(cert), validDays * 24 * 3600);
    X509_NAME* name = X509_get_subject_name(cert);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("SAT de teste"), -1, -1, 0);
    X509_NAME* issuer = X509_get_issuer_name(cert);
    X509_NAME_add_entry_by_txt(issuer, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("AC de teste"), -1, -1, 0);
    X509_set_pubkey(cert, subjectKey);
    X509_sign(cert, issuerKey, EVP_sha256());
    BIO* out = BIO_new(BIO_s_mem());
    PEM_write_bio_X509(out, cert);
    char* data = nullptr;
    const long size = BIO_get_mem_data(out, &data);
    std::string pem(data, static_cast<std::size_t>(size));
    BIO_free(out);
    X509_free(cert);
    return pem;
}

} // namespace

std::string certificateForRequest(const std::string& requestPem, long validDays) {
    BIO* in = BIO_new_mem_buf(requestPem.data(), static_cast<int>(requestPem.size()));
    X509_REQ* request = PEM_read_bio_X509_REQ(in, nullptr, nullptr, nullptr);
    BIO_free(in);
    if (request == nullptr)
        return {};
    EVP_PKEY* subjectKey = X509_REQ_get_pubkey(request);
    EVP_PKEY* authority = EVP_RSA_gen(2048);
    std::string pem = issueCertificate(subjectKey, authority, validDays);
    EVP_PKEY_free(authority);
    EVP_PKEY_free(subjectKey);
    X509_REQ_free(request);
    return pem;
}

std::string unrelatedCertificate() {
    EVP_PKEY* key = EVP_RSA_gen(2048);
    std::string pem = issueCertificate(key, key, 3L * 365);
    EVP_PKEY_free(key);
    return pem;
}

std::string xpathText(const std::string& xml, const std::string& expression) {
    std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> doc(
        xmlReadMemory(xml.data(), static_cast<int>(xml.size()), nullptr, nullptr, XML_PARSE_NONET),
        xmlFreeDoc);
    if (!doc)
        return "<none>";
    std::unique_ptr<xmlXPathContext, decltype(&xmlXPathFreeContext)> context(
        xmlXPathNewContext(doc.get()), xmlXPathFreeContext);
    std::unique_ptr<xmlXPathObject, decltype(&xmlXPathFreeObject)> found(
        xmlXPathEvalExpression(BAD_CAST expression.c_str(), context.get()), xmlXPathFreeObject);
    if (!found || !found->nodesetval || found->nodesetval->nodeNr == 0)
        return "<none>";
    xmlChar* content = xmlNodeGetContent(found->nodesetval->nodeTab[0]);
    std::string text = content ? reinterpret_cast<const char*>(content) : "";
    xmlFree(content);
    return text;
}

bool xmlsec1Verifies(const std::string& xml, const std::string& certificatePem,
                     std::string& output) {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("xmlsec1-check-" + std::to_string(portable::processId()));
    std::filesystem::create_directories(folder);
    writeWhole(folder / "doc.xml", xml);
    writeWhole(folder / "cert.pem", certificatePem);
    const std::string command = std::string(XMLSEC1_PROGRAM) + " --verify --trusted-pem " +
                                (folder / "cert.pem").string() + " --id-attr:Id infCFe " +
                                (folder / "doc.xml").string() + " > " +
                                (folder / "out.txt").string() + " 2>&1";
    const int status = std::system(command.c_str());
    output = readWhole(folder / "out.txt");
    std::filesystem::remove_all(folder);
    return status == 0;
}

std::string schemaErrors(const std::string& schemaPath, const std::string& xml) {
    std::string schemaText = readWhole(schemaPath);
    replaceAll(schemaText, "\"^", "\"");
    replaceAll(schemaText, "$\"", "\"");
    replaceAll(schemaText, "$|^", "|");
    std::string errors;
    xmlSchemaParserCtxtPtr parser =
        xmlSchemaNewMemParserCtxt(schemaText.data(), static_cast<int>(schemaText.size()));
    xmlSchemaPtr schema = xmlSchemaParse(parser);
    xmlSchemaFreeParserCtxt(parser);
    if (schema == nullptr)
        return "schema ilegível: " + schemaPath;
    xmlDocPtr doc =
        xmlReadMemory(xml.data(), static_cast<int>(xml.size()), nullptr, nullptr, XML_PARSE_NONET);
    xmlSchemaValidCtxtPtr validator = xmlSchemaNewValidCtxt(schema);
    xmlSchemaSetValidErrors(validator, collectError, collectError, &errors);
    if (doc == nullptr || xmlSchemaValidateDoc(validator, doc) != 0)
        errors += doc == nullptr ? "documento mal formado" : "";
    xmlSchemaFreeValidCtxt(validator);
    xmlSchemaFree(schema);
    xmlFreeDoc(doc);
    return errors;
}

std::string inReceptionBatch(const std::string& cfe) {
    return "<envCFe versao=\"0.07\"><tpAmb>2</tpAmb><idLote>1</idLote><cUF>35</cUF><LoteCFe>" +
           withoutDeclaration(cfe) +
           "</LoteCFe><nSeg>1</nSeg><dhEnvio>20240101120000</dhEnvio>"
           "<nserieSAT>900000001</nserieSAT></envCFe>";
}

std::string cancellationInfCFe(const std::string& cfeCanc) {
    const auto start = cfeCanc.find("<infCFe");
    const auto end = cfeCanc.find("</infCFe>");
    return cfeCanc.substr(start, end + 9 - start);
}

char keyCheckDigit(const std::string& digits43) {
    int sum = 0;
    int weight = 2;
    for (auto it = digits43.rbegin(); it != digits43.rend(); ++it) {
        sum += (*it - '0') * weight;
        weight = weight == 9 ? 2 : weight + 1;
    }
    const int digit = 11 - sum % 11;
    return static_cast<char>('0' + (digit >= 10 ? 0 : digit));
}

bool signatureVerifies(const std::string& certificatePem, const std::string& text,
                       const std::string& signature) {
    BIO* bio = BIO_new_mem_buf(certificatePem.data(), static_cast<int>(certificatePem.size()));
    X509* cert = PEM_read_bio_X509(bio, nullptr, nullptr, nullptr);
    BIO_free(bio);
    if (cert == nullptr)
        return false;
    EVP_PKEY* key = X509_get_pubkey(cert);
    const std::string raw = decodeBase64(signature);
    EVP_MD_CTX* ctx = EVP_MD_CTX_new();
    const bool ok =
        EVP_DigestVerifyInit(ctx, nullptr, EVP_sha256(), nullptr, key) == 1 &&
        EVP_DigestVerify(ctx, reinterpret_cast<const unsigned char*>(raw.data()), raw.size(),
                         reinterpret_cast<const unsigned char*>(text.data()), text.size()) == 1;
    EVP_MD_CTX_free(ctx);
    EVP_PKEY_free(key);
    X509_free(cert);
    return ok;
}

} // namespace emulator_test
