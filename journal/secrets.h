#pragma once
// Secrets never reach the journal in clear: activation and emergency codes, and the proxy and
// mobile carrier passwords, are replaced by as many '*' as they have bytes, so the length a
// help desk may ask about stays visible, in what was sent and in what the module echoes.

#include "core/operation_definition.h"
#include "journal/call_entry.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace journal {

// True for the input fields that hold a secret (codes and passwords).
bool isSecretField(std::string_view key);

// The secret values among the inputs of `fields`, as given.
std::vector<std::string> secretValues(std::span<const core::InputField> fields,
                                      const core::Inputs& inputs);

// `text` with every occurrence of each secret value masked, and the contents of the password
// elements of a network configuration (<proxy_senha>, <senha>, <codigo>, written plainly or
// escaped inside a request or answer document) masked whatever they hold (a carrier preset fills
// them; a status answer echoes what another program configured).
std::string masked(std::string_view text, const std::vector<std::string>& secrets);

// The call with the password elements of its answer, report and message masked, for showing or
// exporting it: a call kept before the journal masked what the module echoes may hold them.
CallEntry withEchoedPasswordsMasked(CallEntry call);

} // namespace journal
