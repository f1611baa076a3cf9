#pragma once
// Independent checks of the documents the emulator returns: Base64, XPath look-ups, the
// signature as the xmlsec1 command verifies it, validation against the tax authority's schemas
// (with their "^...$" anchors stripped, as its own emulator does), and the access key digit.

#include <string>

namespace emulator_test {

std::string decodeBase64(const std::string& text);
std::string encodeBase64(const std::string& bytes);

// A certificate for the key of a certificate request (PEM), issued by a throwaway test
// authority, as an ICP-Brasil authority answers a module's request, valid from now for the
// given number of days.
std::string certificateForRequest(const std::string& requestPem, long validDays = 3L * 365);

// A self-signed certificate for a fresh key that no module holds.
std::string unrelatedCertificate();

// The text of the first node the XPath expression finds in the document, or "<none>".
std::string xpathText(const std::string& xml, const std::string& expression);

// Runs `xmlsec1 --verify` with the certificate as the trusted one; true when it succeeds.
// `output` receives what the command wrote.
bool xmlsec1Verifies(const std::string& xml, const std::string& certificatePem,
                     std::string& output);

// Validation errors of `xml` against the schema file (anchors stripped), or empty when valid.
std::string schemaErrors(const std::string& schemaPath, const std::string& xml);

// The issued CF-e wrapped in the batch envelope that is CfeRecepcao_0007.xsd's root.
std::string inReceptionBatch(const std::string& cfe);

// The cancellation CF-e's infCFe element alone, the root of CfeCancelamento_0007.xsd.
std::string cancellationInfCFe(const std::string& cfeCanc);

// The modulo-11 check digit of a 43-digit access key prefix.
char keyCheckDigit(const std::string& digits43);

// True when the Base64 RSA-SHA256 `signature` of `text` verifies with the certificate's key.
bool signatureVerifies(const std::string& certificatePem, const std::string& text,
                       const std::string& signature);

} // namespace emulator_test
