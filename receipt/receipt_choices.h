#pragma once
// The receipt's answers to the questions its published layout leaves open, in one place, with
// the text `tarvik extrato --help` shows for them.

#include <string_view>

namespace receipt::choices {

// The customer's name is printed under the document ("Razão Social/Nome: ..."), and a sale
// without a customer says so, rather than leaving a gap a reader may take for a fault.
inline constexpr std::string_view customerNameLabel = "Razão Social/Nome: ";
inline constexpr std::string_view noCustomer = "CONSUMIDOR NÃO IDENTIFICADO";

// A payment code outside the published table is printed with its number.
inline constexpr std::string_view unknownPayment = "Meio de pagamento ";

// The module's serial number is printed as the XML writes it, without dots.
// The classic layout (QR code under the key) is used, not the 2019 side-by-side one.
// The Simples Nacional ICMS line is not printed: nothing in the CF-e asks for it.
// The gross total is the sum of the items' vProd, so a sale of services (no ICMSTot) has one.
// The key is one Code 128 (subset C) symbol of 44 digits on 80 mm paper, where it fits at
// 0.25 mm per module, and two stacked symbols of 22 digits on 58 mm.
// A cancellation shows the test banner when its signAC is the test one or the cancelled sale
// was issued in test condition (tpAmb 2): a cancellation has no tpAmb of its own.

inline constexpr std::string_view helpText =
    "Escolhas onde o leiaute do extrato deixa margem:\n"
    "  - o nome do consumidor sai como \"Razão Social/Nome:\"; sem consumidor, sai\n"
    "    \"CONSUMIDOR NÃO IDENTIFICADO\";\n"
    "  - meios de pagamento com os nomes da ER 2.28.05 (17 \"Pagamento Instantâneo (PIX)\");\n"
    "    um código fora da tabela sai como \"Meio de pagamento NN\";\n"
    "  - leiaute clássico (QR Code abaixo da chave), sem a linha do Simples Nacional;\n"
    "  - número do SAT sem pontos; total bruto = soma dos vProd dos itens (vale sem ICMSTot);\n"
    "  - obsFisco lido de infAdic e de infCFe;\n"
    "  - código de barras: um símbolo Code 128C de 44 dígitos em 80 mm, dois de 22 em 58 mm;\n"
    "    QR Code com correção L, módulo de 0,5 mm;\n"
    "  - o cancelamento mostra \"= T E S T E =\" quando o signAC é o de teste ou a venda\n"
    "    cancelada foi emitida em ambiente de teste (tpAmb 2).\n";

} // namespace receipt::choices
