#pragma once
// The module's own keys and certificate (OpenSSL 3): an RSA-2048 key made at activation, the
// certificate request it answers with, a self-signed test certificate valid five years, and
// the RSA-SHA256 signatures it puts on QR codes. Also the Base64 and digest helpers.

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace emulator {

struct CertificateSubject {
    std::string commonName;   // "<CNPJ>:<serial>"
    std::string organization; // the taxpayer's name
    std::string state;        // UF abbreviation
};

struct KeyMaterial {
    std::string privateKeyPem;
    std::string certificatePem;
    std::string requestPem;
    std::string notBefore; // AAAAMMDD of the certificate's validity
    std::string notAfter;
};

// Generates a fresh RSA-2048 key, its certificate request and a self-signed certificate valid
// from `now` for five years. Throws std::runtime_error when OpenSSL fails.
KeyMaterial generateKeyMaterial(const CertificateSubject& subject, std::time_t now);

// A certificate handed to the module, as PEM, with its validity dates (AAAAMMDD).
struct ReceivedCertificate {
    std::string pem;
    std::string notBefore;
    std::string notAfter;
};

// Reads a certificate sent as PEM, as Base64 of PEM (the form the module answers its request
// in) or as Base64 of DER; nothing when the text is none of those.
std::optional<ReceivedCertificate> readCertificate(std::string_view text);

// Whether the certificate carries the public key of the PEM private key.
bool certificateMatchesKey(const std::string& certificatePem, const std::string& privateKeyPem);

// The RSA-SHA256 signature of `data` with the PEM private key, in Base64 (344 characters for
// a 2048-bit key). Throws std::runtime_error when the key cannot be used.
std::string signBase64(const std::string& privateKeyPem, std::string_view data);

std::string base64Encode(std::string_view bytes);

// The bytes of a Base64 text (no line breaks), or nothing when it is not valid Base64.
std::optional<std::string> base64Decode(std::string_view text);

// SHA-256 digest of `data`, as 64 lower-case hexadecimal digits.
std::string sha256Hex(std::string_view data);

} // namespace emulator
