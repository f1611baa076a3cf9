#include "emulator/sale/rejections.h"

#include <utility>

namespace emulator {
namespace {

// Texts of the content-rejection and alert codes, as the tax authority's table words them.
constexpr std::pair<int, std::string_view> texts[] = {
    {1004, "Rejeição: Versão do leiaute do arquivo de entrada do SAT não é válida"},
    {1019, "Rejeição: numeração dos itens não é sequencial crescente"},
    {1073, "Rejeição: Valor de Desconto sobre total não é maior ou igual a zero. "},
    {1074, "Rejeição: Valor de Acréscimo sobre total não é maior ou igual a zero. "},
    {1203, "Rejeição: Emitente não  autorizado para uso do SAT."},
    {1207, "Rejeição: CNPJ do emitente inválido"},
    {1209, "Rejeição: IE do emitente inválida"},
    {1218, "Rejeição: Chave de acesso do CF-e-SAT já consta como cancelado"},
    {1221, "Rejeição: Aplicativo Comercial não vinculado ao SAT"},
    {1224, "Rejeição: CNPJ da Software House inválido"},
    {1229, "Rejeição: IE do emitente não informada"},
    {1234, "Alerta: Razão Social/Nome  do destinatário em branco"},
    {1235, "Rejeição: CNPJ do destinatário inválido"},
    {1237, "Rejeição: CPF do destinatário inválido"},
    {1287, "Rejeição: Código Município do FG - ISSQN: dígito inválido. Exceto os códigos descritos "
           "no Anexo 2 que apresentam dígito inválido."},
    {1408, "Rejeição: Valor total do CF-e-SAT maior que o somatório dos valores de Meio de "
           "Pagamento empregados em seu pagamento."},
    {1455, "Rejeição: Assinatura do Aplicativo Comercial não é válida."},
    {1456, "Rejeição: Código de Regime Tributário inválido"},
    {1457, "Rejeição: Código de Natureza da Operação para ISSQN inválido"},
    {1459, "Rejeição: Código do produto ou serviço em branco"},
    {1460, "Rejeição: GTIN do item (N) inválido"},
    {1461, "Rejeição: Descrição do produto ou serviço em branco"},
    {1462, "Rejeição: CFOP não é de Operação de saída prevista para CF-e-SAT"},
    {1463, "Rejeição: Unidade Comercial do produto ou serviço em branco"},
    {1464, "Rejeição: Quantidade Comercial do item (N) inválido."},
    {1465, "Rejeição: Valor Unitário do item (N) inválido."},
    {1467, "Rejeição: Regra de cálculo do Item (N) inválido (diferente de \"A\" e \"T\")"},
    {1468, "Rejeição: Valor do Desconto do item (N) inválido."},
    {1469, "Rejeição: Valor de outras despesas acessórias do item (N) inválido."},
    {1471, "Rejeição: Origem da mercadoria do Item (N) inválido (diferente de 0, 1 e 2)"},
    {1472, "Rejeição: CST do Item (N) inválido (diferente de 00, 20, 90)"},
    {1473, "Rejeição: Alíquota efetiva do ICMS do item (N) não é maior ou igual a zero."},
    {1475, "Rejeição: CST do Item (N) inválido   (diferente de 40 e 41 e 60)"},
    {1476, "Rejeição: Código de situação da operação - Simples Nacional - do Item (N) inválido "
           "(diferente de 102, 300, 400 e 500)"},
    {1477, "Rejeição: Código de situação da operação - Simples Nacional - do Item (N) inválido "
           "(diferente de 900)"},
    {1478, "Rejeição: Código de Situação Tributária do PIS Inválido (diferente de 01, 02 e 05)"},
    {1479, "Rejeição: Base de cálculo do PIS do item (N) inválido."},
    {1480, "Rejeição: Alíquota do PIS do item (N) não é maior ou igual a zero."},
    {1482, "Rejeição: Código de Situação Tributária do PIS Inválido (diferente de 03)"},
    {1483, "Rejeição: Qtde Vendida do item (N) não é maior ou igual a zero."},
    {1484, "Rejeição: Alíquota do PIS em R$ do item (N) não é maior ou igual a zero."},
    {1486,
     "Rejeição: Código de Situação Tributária do PIS Inválido (diferente de  04, 06, 07, 08 e 09)"},
    {1487, "Rejeição: Código de Situação Tributária do PIS inválido (diferente de  49)"},
    {1488, "Rejeição: Código de Situação Tributária do PIS Inválido (diferente de  99)"},
    {1490,
     "Rejeição: Código de Situação Tributária da COFINS Inválido (diferente de  01, 02 e 05)"},
    {1491, "Rejeição: Base de cálculo do COFINS  do item (N) inválido."},
    {1492, "Rejeição: Alíquota da COFINS do item (N) não é maior ou igual a zero."},
    {1494, "Rejeição: Código de Situação Tributária da COFINS Inválido (diferente de  03)"},
    {1496, "Rejeição: Alíquota da COFINS em R$ do item (N) não é maior ou igual a zero."},
    {1498, "Rejeição: Código de Situação Tributária da COFINS Inválido (diferente de  04, 06, 07, "
           "08 e 09)"},
    {1499, "Rejeição: Código de Situação Tributária da COFINS Inválido (diferente de  49)"},
    {1500, "Rejeição: Código de Situação Tributária da COFINS Inválido (diferente de  99)"},
    {1501, "Rejeição: Operação com tributação de ISSQN sem informar a Inscrição Municipal"},
    {1503, "Rejeição: Valor das deduções para o ISSQN do item (N) não é maior ou igual a zero."},
    {1505, "Rejeição: Alíquota efetiva do ISSQN do item (N) não é maior ou igual a  2,00 (2%) e "
           "menor ou igual a 5,00 (5%)."},
    {1507, "Rejeição: Indicador de rateio para ISSQN inválido"},
    {1508, "Rejeição: Item da lista de Serviços do ISSQN do item (N) não é maior ou igual a zero."},
    {1509, "Rejeição: Código municipal de Tributação do ISSQN do Item (N) em branco."},
    {1511,
     "Rejeição: Indicador de Incentivo Fiscal do ISSQN do item (N) inválido (diferente de 1 e 2)"},
    {1527, "Rejeição: Código do Meio de Pagamento inválido"},
    {1528, "Rejeição: Valor do Meio de Pagamento inválido."},
    {1533, "Rejeição: Valor aproximado dos tributos do CF-e_SAT negativo."},
    {1534, "Rejeição: Valor aproximado dos tributos do produto negativo."},
    {1535, "Rejeição: código da credenciadora de cartão de débito ou crédito inválido"},
    {1998, "Rejeição: Não é possível gerar o cupom com os dados de entrada informados, pois "
           "resultam valores negativos."},
    {1999, "Rejeição: Erro não identificado"},
};

} // namespace

std::string rejectionText(int code, int item) {
    for (const auto& [number, text] : texts) {
        if (number != code)
            continue;
        std::string result(text);
        if (const auto n = result.find("(N)"); n != std::string::npos && item > 0)
            result.replace(n + 1, 1, std::to_string(item));
        return result;
    }
    return {};
}

std::string rejectionMessage(const Rejection& rejection) {
    std::string text = rejection.ownText.empty() ? rejectionText(rejection.code, rejection.item)
                                                 : rejection.ownText;
    if (!rejection.detail.empty())
        text += (text.empty() ? "" : " - ") + rejection.detail;
    return text;
}

} // namespace emulator
