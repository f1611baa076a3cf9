#include "emulator/sale/crypto.h"

#include <openssl/bio.h>
#include <openssl/bn.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>

namespace emulator {
namespace {

template <auto Free> struct Deleter {
    template <class T> void operator()(T* p) const { Free(p); }
};
using PkeyPtr = std::unique_ptr<EVP_PKEY, Deleter<EVP_PKEY_free>>;
using X509Ptr = std::unique_ptr<X509, Deleter<X509_free>>;
using ReqPtr = std::unique_ptr<X509_REQ, Deleter<X509_REQ_free>>;
using NamePtr = std::unique_ptr<X509_NAME, Deleter<X509_NAME_free>>;
using BioPtr = std::unique_ptr<BIO, Deleter<BIO_free_all>>;
using MdCtxPtr = std::unique_ptr<EVP_MD_CTX, Deleter<EVP_MD_CTX_free>>;
using BnPtr = std::unique_ptr<BIGNUM, Deleter<BN_free>>;

void require(bool ok, const char* what) {
    if (!ok)
        throw std::runtime_error(std::string("OpenSSL: ") + what);
}

template <class Write> std::string pem(Write write) {
    BioPtr bio(BIO_new(BIO_s_mem()));
    require(bio && write(bio.get()), "escrita PEM");
    char* data = nullptr;
    const long size = BIO_get_mem_data(bio.get(), &data);
    return std::string(data, static_cast<std::size_t>(size));
}

NamePtr subjectName(const CertificateSubject& subject) {
    NamePtr name(X509_NAME_new());
    const auto add = [&](const char* field, const std::string& value) {
        require(X509_NAME_add_entry_by_txt(name.get(), field, MBSTRING_UTF8,
                                           reinterpret_cast<const unsigned char*>(value.c_str()),
                                           -1, -1, 0) == 1,
                "nome do certificado");
    };
    add("C", "BR");
    add("ST", subject.state);
    add("O", subject.organization);
    add("OU", "SAT EMULADO - CERTIFICADO DE TESTE");
    add("CN", subject.commonName);
    return name;
}

std::string dateOf(const ASN1_TIME* time) {
    std::tm tm{};
    require(ASN1_TIME_to_tm(time, &tm) == 1, "data do certificado");
    char text[64];
    std::snprintf(text, sizeof text, "%04d%02d%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
    return text;
}

void addExtension(X509* cert, int nid, const char* value) {
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, cert, cert, nullptr, nullptr, 0);
    X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
    require(ext != nullptr && X509_add_ext(cert, ext, -1) == 1, "extensão do certificado");
    X509_EXTENSION_free(ext);
}

X509Ptr selfSigned(EVP_PKEY* key, X509_NAME* name, std::time_t now) {
    X509Ptr cert(X509_new());
    require(cert && X509_set_version(cert.get(), 2) == 1, "versão do certificado");
    BnPtr serial(BN_new());
    require(serial && BN_rand(serial.get(), 127, BN_RAND_TOP_ONE, BN_RAND_BOTTOM_ANY) == 1 &&
                BN_to_ASN1_INTEGER(serial.get(), X509_get_serialNumber(cert.get())),
            "número de série do certificado");
    std::tm local{};
#ifdef _WIN32
    gmtime_s(&local, &now);
#else
    gmtime_r(&now, &local);
#endif
    local.tm_year += 5;
    char notAfter[96];
    std::snprintf(notAfter, sizeof notAfter, "%04d%02d%02d%02d%02d%02dZ", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday == 29 && local.tm_mon == 1 ? 28 : local.tm_mday,
                  local.tm_hour, local.tm_min, local.tm_sec);
    require(X509_time_adj_ex(X509_getm_notBefore(cert.get()), 0, 0, &now) != nullptr &&
                ASN1_TIME_set_string_X509(X509_getm_notAfter(cert.get()), notAfter) == 1,
            "validade do certificado");
    require(X509_set_subject_name(cert.get(), name) == 1 &&
                X509_set_issuer_name(cert.get(), name) == 1 &&
                X509_set_pubkey(cert.get(), key) == 1,
            "dados do certificado");
    addExtension(cert.get(), NID_basic_constraints, "critical,CA:FALSE");
    addExtension(cert.get(), NID_key_usage, "critical,digitalSignature,nonRepudiation");
    require(X509_sign(cert.get(), key, EVP_sha256()) > 0, "assinatura do certificado");
    return cert;
}

PkeyPtr privateKey(const std::string& privateKeyPem) {
    BioPtr bio(BIO_new_mem_buf(privateKeyPem.data(), static_cast<int>(privateKeyPem.size())));
    PkeyPtr key(PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, nullptr));
    require(key != nullptr, "leitura da chave privada");
    return key;
}

// A certificate in PEM or DER bytes; null when the bytes are neither.
X509Ptr parseCertificate(std::string_view bytes) {
    BioPtr bio(BIO_new_mem_buf(bytes.data(), static_cast<int>(bytes.size())));
    X509Ptr cert(PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr));
    if (!cert) {
        const auto* der = reinterpret_cast<const unsigned char*>(bytes.data());
        cert.reset(d2i_X509(nullptr, &der, static_cast<long>(bytes.size())));
    }
    ERR_clear_error();
    return cert;
}

} // namespace

std::optional<ReceivedCertificate> readCertificate(std::string_view text) {
    X509Ptr cert = parseCertificate(text);
    if (!cert) {
        std::string compact;
        for (char c : text) {
            if (static_cast<unsigned char>(c) > ' ')
                compact += c;
        }
        if (const auto bytes = base64Decode(compact))
            cert = parseCertificate(*bytes);
    }
    if (!cert)
        return std::nullopt;
    return ReceivedCertificate{pem([&](BIO* bio) { return PEM_write_bio_X509(bio, cert.get()); }),
                               dateOf(X509_get0_notBefore(cert.get())),
                               dateOf(X509_get0_notAfter(cert.get()))};
}

bool certificateMatchesKey(const std::string& certificatePem, const std::string& privateKeyPem) {
    const X509Ptr cert = parseCertificate(certificatePem);
    const PkeyPtr key = privateKey(privateKeyPem);
    const bool matches = cert && X509_check_private_key(cert.get(), key.get()) == 1;
    ERR_clear_error();
    return matches;
}

KeyMaterial generateKeyMaterial(const CertificateSubject& subject, std::time_t now) {
    PkeyPtr key(EVP_RSA_gen(2048));
    require(key != nullptr, "geração da chave RSA");
    NamePtr name = subjectName(subject);

    ReqPtr request(X509_REQ_new());
    require(request && X509_REQ_set_version(request.get(), 0) == 1 &&
                X509_REQ_set_subject_name(request.get(), name.get()) == 1 &&
                X509_REQ_set_pubkey(request.get(), key.get()) == 1 &&
                X509_REQ_sign(request.get(), key.get(), EVP_sha256()) > 0,
            "requisição de certificado");
    X509Ptr cert = selfSigned(key.get(), name.get(), now);

    KeyMaterial material;
    material.privateKeyPem = pem([&](BIO* bio) {
        return PEM_write_bio_PrivateKey(bio, key.get(), nullptr, nullptr, 0, nullptr, nullptr);
    });
    material.certificatePem = pem([&](BIO* bio) { return PEM_write_bio_X509(bio, cert.get()); });
    material.requestPem = pem([&](BIO* bio) { return PEM_write_bio_X509_REQ(bio, request.get()); });
    material.notBefore = dateOf(X509_get0_notBefore(cert.get()));
    material.notAfter = dateOf(X509_get0_notAfter(cert.get()));
    return material;
}

std::string signBase64(const std::string& privateKeyPem, std::string_view data) {
    const PkeyPtr key = privateKey(privateKeyPem);
    MdCtxPtr ctx(EVP_MD_CTX_new());
    std::size_t size = 0;
    require(ctx && EVP_DigestSignInit(ctx.get(), nullptr, EVP_sha256(), nullptr, key.get()) == 1 &&
                EVP_DigestSign(ctx.get(), nullptr, &size,
                               reinterpret_cast<const unsigned char*>(data.data()),
                               data.size()) == 1,
            "assinatura");
    std::string signature(size, '\0');
    require(EVP_DigestSign(ctx.get(), reinterpret_cast<unsigned char*>(signature.data()), &size,
                           reinterpret_cast<const unsigned char*>(data.data()), data.size()) == 1,
            "assinatura");
    signature.resize(size);
    return base64Encode(signature);
}

std::string base64Encode(std::string_view bytes) {
    std::string text(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    const int size = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()),
                                     reinterpret_cast<const unsigned char*>(bytes.data()),
                                     static_cast<int>(bytes.size()));
    text.resize(static_cast<std::size_t>(size));
    return text;
}

std::optional<std::string> base64Decode(std::string_view text) {
    // EVP_DecodeBlock alone would take "=" inside the text as zero bits and skip blanks at
    // either end; only the alphabet, with one or two "=" closing the text, is Base64.
    constexpr std::string_view alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const std::size_t paddingStart = std::min(text.find_first_not_of(alphabet), text.size());
    if (text.size() % 4 != 0 || text.size() - paddingStart > 2 ||
        text.find_first_not_of('=', paddingStart) != std::string_view::npos)
        return std::nullopt;
    std::string bytes(3 * (text.size() / 4) + 1, '\0');
    const int size = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(bytes.data()),
                                     reinterpret_cast<const unsigned char*>(text.data()),
                                     static_cast<int>(text.size()));
    if (size < 0)
        return std::nullopt;
    bytes.resize(static_cast<std::size_t>(size) - (text.size() - paddingStart));
    return bytes;
}

std::string sha256Hex(std::string_view data) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    require(EVP_Digest(data.data(), data.size(), digest, &size, EVP_sha256(), nullptr) == 1,
            "resumo SHA-256");
    static constexpr char hex[] = "0123456789abcdef";
    std::string text;
    for (unsigned int i = 0; i < size; ++i) {
        text += hex[digest[i] >> 4];
        text += hex[digest[i] & 0x0F];
    }
    return text;
}

} // namespace emulator
