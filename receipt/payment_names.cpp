#include "receipt/payment_names.h"

#include "receipt/receipt_choices.h"

#include <utility>

namespace receipt {

std::string paymentName(std::string_view code) {
    static constexpr std::pair<std::string_view, std::string_view> names[] = {
        {"01", "Dinheiro"},
        {"02", "Cheque"},
        {"03", "Cartão de Crédito"},
        {"04", "Cartão de Débito"},
        {"05", "Crédito Loja"},
        {"10", "Vale Alimentação"},
        {"11", "Vale Refeição"},
        {"12", "Vale Presente"},
        {"13", "Vale Combustível"},
        {"15", "Boleto Bancário"},
        {"16", "Depósito Bancário"},
        {"17", "Pagamento Instantâneo (PIX)"},
        {"18", "Transferência Bancária / Carteira Digital"},
        {"19", "Programa de Fidelidade / Cashback"},
        {"90", "Sem Pagamento"},
        {"99", "Outros"},
    };
    for (const auto& [number, name] : names) {
        if (number == code)
            return std::string(name);
    }
    return std::string(choices::unknownPayment) + std::string(code);
}

} // namespace receipt
