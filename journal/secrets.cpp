#include "journal/secrets.h"

#include <algorithm>
#include <array>

namespace journal {
namespace {

constexpr std::array<std::string_view, 6> secretKeys = {
    "codigo", "novo", "confirmacao", "proxy-senha", "proxy-senha-movel", "senha-movel",
};

// Masks what lies between each `open` and the next `close`.
void maskBetween(std::string& text, std::string_view open, std::string_view close) {
    std::size_t at = 0;
    while ((at = text.find(open, at)) != std::string::npos) {
        const std::size_t start = at + open.size();
        const std::size_t end = text.find(close, start);
        if (end == std::string::npos)
            return;
        std::fill(text.begin() + std::ptrdiff_t(start), text.begin() + std::ptrdiff_t(end), '*');
        at = end + close.size();
    }
}

// The elements of a network configuration that hold a password: the proxy's, the PPPoE or
// carrier's, and the Wi-Fi key (<codigo>). The status answers echo the configurations.
constexpr std::array<std::string_view, 3> passwordElements = {"proxy_senha", "senha", "codigo"};

} // namespace

bool isSecretField(std::string_view key) {
    return std::find(secretKeys.begin(), secretKeys.end(), key) != secretKeys.end();
}

std::vector<std::string> secretValues(std::span<const core::InputField> fields,
                                      const core::Inputs& inputs) {
    std::vector<std::string> values;
    for (const core::InputField& field : fields)
        if (isSecretField(field.key) && !inputs.text(field.key).empty())
            values.push_back(inputs.text(field.key));
    // The longest first: a secret that holds another is masked whole.
    std::sort(values.begin(), values.end(),
              [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    return values;
}

std::string masked(std::string_view text, const std::vector<std::string>& secrets) {
    std::string out(text);
    for (const std::string& secret : secrets) {
        if (secret.empty())
            continue;
        for (std::size_t at = out.find(secret); at != std::string::npos;
             at = out.find(secret, at + secret.size()))
            out.replace(at, secret.size(), secret.size(), '*');
    }
    for (std::string_view element : passwordElements) {
        const std::string name(element);
        maskBetween(out, "<" + name + ">", "</" + name + ">");
        maskBetween(out, "&lt;" + name + "&gt;", "&lt;/" + name + "&gt;");
    }
    return out;
}

CallEntry withEchoedPasswordsMasked(CallEntry call) {
    for (std::string* text : {&call.answer, &call.report, &call.message})
        *text = masked(*text, {});
    return call;
}

} // namespace journal
