#pragma once
// The enveloped XMLDSig signature that a module puts on every CF-e it issues (xmlsec1 with the
// OpenSSL back-end): RSA-SHA256 over the element with the given Id, inclusive C14N, the
// certificate in KeyInfo, the Signature element appended to the document's root.

#include <libxml/tree.h>

#include <string>

namespace emulator {

// Signs `signedElement`, whose attribute Id holds `id`. Throws std::runtime_error with xmlsec's
// reason when signing fails.
void signEnveloped(xmlDoc* doc, xmlNode* signedElement, const std::string& id,
                   const std::string& privateKeyPem, const std::string& certificatePem);

} // namespace emulator
