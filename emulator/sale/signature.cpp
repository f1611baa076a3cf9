#include "emulator/sale/signature.h"

#include <libxml/valid.h>
#include <xmlsec/crypto.h>
#include <xmlsec/errors.h>
#include <xmlsec/templates.h>
#include <xmlsec/xmldsig.h>
#include <xmlsec/xmlsec.h>

#include <memory>
#include <mutex>
#include <stdexcept>

namespace emulator {
namespace {

// xmlsec's reasons for the last failure of this thread, for the exception text.
thread_local std::string lastError;

void recordError(const char* file, int line, const char* func, const char* errorObject,
                 const char* errorSubject, int reason, const char* msg) {
    (void)file;
    (void)line;
    (void)errorObject;
    lastError = std::string(func ? func : "") + ": " + (errorSubject ? errorSubject : "") + " " +
                (xmlSecErrorsGetMsg(static_cast<xmlSecSize>(reason))
                     ? xmlSecErrorsGetMsg(static_cast<xmlSecSize>(reason))
                     : "") +
                " " + (msg ? msg : "");
}

// xmlsec and its crypto back-end are set up once per process and never torn down: the host
// program may use libxml2 itself, and the library may stay loaded until the process ends.
void initialise() {
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once, [] {
        ready = xmlSecInit() == 0 && xmlSecCheckVersion() == 1 &&
                xmlSecCryptoAppInit(nullptr) == 0 && xmlSecCryptoInit() == 0;
        xmlSecErrorsSetCallback(recordError);
    });
    if (!ready)
        throw std::runtime_error("xmlsec não pôde ser iniciado");
}

void require(bool ok, const char* what) {
    if (!ok)
        throw std::runtime_error(std::string("Assinatura XML: ") + what + " (" + lastError + ")");
}

struct KeyFree {
    void operator()(xmlSecKey* key) const { xmlSecKeyDestroy(key); }
};
struct DSigCtxFree {
    void operator()(xmlSecDSigCtx* ctx) const { xmlSecDSigCtxDestroy(ctx); }
};

const xmlSecByte* bytes(const std::string& text) {
    return reinterpret_cast<const xmlSecByte*>(text.data());
}

} // namespace

void signEnveloped(xmlDoc* doc, xmlNode* signedElement, const std::string& id,
                   const std::string& privateKeyPem, const std::string& certificatePem) {
    initialise();
    lastError.clear();

    xmlAttr* idAttribute = xmlHasProp(signedElement, BAD_CAST "Id");
    require(idAttribute != nullptr && xmlAddID(nullptr, doc, BAD_CAST id.c_str(), idAttribute),
            "atributo Id do elemento assinado");

    xmlNode* signature = xmlSecTmplSignatureCreate(doc, xmlSecTransformInclC14NId,
                                                   xmlSecTransformRsaSha256Id, nullptr);
    require(signature != nullptr, "modelo da assinatura");
    xmlAddChild(xmlDocGetRootElement(doc), signature);
    const std::string uri = "#" + id;
    xmlNode* reference = xmlSecTmplSignatureAddReference(signature, xmlSecTransformSha256Id,
                                                         nullptr, BAD_CAST uri.c_str(), nullptr);
    require(reference != nullptr &&
                xmlSecTmplReferenceAddTransform(reference, xmlSecTransformEnvelopedId) &&
                xmlSecTmplReferenceAddTransform(reference, xmlSecTransformInclC14NId),
            "referência da assinatura");
    xmlNode* keyInfo = xmlSecTmplSignatureEnsureKeyInfo(signature, nullptr);
    xmlNode* x509 = keyInfo ? xmlSecTmplKeyInfoAddX509Data(keyInfo) : nullptr;
    require(x509 != nullptr && xmlSecTmplX509DataAddCertificate(x509) != nullptr,
            "dados do certificado");

    std::unique_ptr<xmlSecKey, KeyFree> key(xmlSecCryptoAppKeyLoadMemory(
        bytes(privateKeyPem), static_cast<xmlSecSize>(privateKeyPem.size()), xmlSecKeyDataFormatPem,
        nullptr, nullptr, nullptr));
    require(key != nullptr, "chave privada");
    require(xmlSecCryptoAppKeyCertLoadMemory(key.get(), bytes(certificatePem),
                                             static_cast<xmlSecSize>(certificatePem.size()),
                                             xmlSecKeyDataFormatPem) == 0,
            "certificado");

    std::unique_ptr<xmlSecDSigCtx, DSigCtxFree> ctx(xmlSecDSigCtxCreate(nullptr));
    require(ctx != nullptr, "contexto da assinatura");
    ctx->signKey = key.release();
    require(xmlSecDSigCtxSign(ctx.get(), signature) == 0, "cálculo da assinatura");
}

} // namespace emulator
