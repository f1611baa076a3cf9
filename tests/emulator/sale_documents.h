#pragma once
// Sale and cancellation documents as a point of sale sends them, for the emulator's tests and
// benchmark: a test taxpayer, software house and AC signature, and sales of any size.

#include <string>

namespace emulator_test {

inline const std::string taxpayerCnpj = "12345678000195";
inline const std::string softwareHouseCnpj = "16716114000172";
inline const std::string customerCpf = "52998224725";
inline const std::string activationCode = "codigo-123";

// A well-formed AC signature: 344 Base64 characters, 256 bytes.
inline std::string acSignature() {
    std::string text;
    for (int i = 0; text.size() < 340; ++i)
        text += "QUJDREVGR0hJSktMTU5PUFFSU1RVVldYWVpbXF1eX2Bh"[i % 44];
    return text + "AA==";
}

// One item: 2 × 10.555 with a 0.50 discount, ICMS 18 %, PIS 1.65 %, COFINS 7.6 %.
inline std::string saleItem(int number) {
    const std::string n = std::to_string(number);
    return "<det nItem=\"" + n + "\"><prod><cProd>" + n + "</cProd><cEAN>7891000315507</cEAN>" +
           "<xProd>Produto de teste " + n +
           "</xProd><NCM>22021000</NCM><CFOP>5102</CFOP>"
           "<uCom>UN</uCom><qCom>2.0000</qCom><vUnCom>10.555</vUnCom><indRegra>A</indRegra>"
           "<vDesc>0.50</vDesc></prod><imposto><vItem12741>1.00</vItem12741><ICMS><ICMS00>"
           "<Orig>0</Orig><CST>00</CST><pICMS>18.00</pICMS></ICMS00></ICMS><PIS><PISAliq>"
           "<CST>01</CST><vBC>20.61</vBC><pPIS>0.0165</pPIS></PISAliq></PIS><COFINS>"
           "<COFINSAliq><CST>01</CST><vBC>20.61</vBC><pCOFINS>0.0760</pCOFINS></COFINSAliq>"
           "</COFINS></imposto></det>";
}

// A sale of `items` items to the test customer, paid with more than enough money. Lines end in
// LF CR, as the workbench sends a document read from a file.
inline std::string saleDocument(int items, const std::string& signAC = acSignature()) {
    std::string details;
    for (int i = 1; i <= items; ++i)
        details += saleItem(i) + "\n\r";
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n\r<CFe><infCFe versaoDadosEnt=\"0.07\">"
           "<ide><CNPJ>" +
           softwareHouseCnpj + "</CNPJ><signAC>" + signAC +
           "</signAC><numeroCaixa>001</numeroCaixa></ide><emit><CNPJ>" + taxpayerCnpj +
           "</CNPJ><IE>111111111111</IE><indRatISSQN>N</indRatISSQN></emit><dest><CPF>" +
           customerCpf + "</CPF></dest>\n\r" + details +
           "<total><vCFeLei12741>2.00</vCFeLei12741></total><pgto><MP><cMP>01</cMP>"
           "<vMP>100000.00</vMP></MP></pgto><infAdic><infCpl>Obrigado</infCpl></infAdic>"
           "</infCFe></CFe>\n\r";
}

// The request to cancel the sale of `key`, with an empty dest as layouts 0.07 and 0.08 have it;
// `dest` is what stands in dest (layout 0.06 names the customer there).
inline std::string cancellationDocument(const std::string& key,
                                        const std::string& signAC = acSignature(),
                                        const std::string& dest = {}) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><CFeCanc><infCFe chCanc=\"" + key +
           "\"><ide><CNPJ>" + softwareHouseCnpj + "</CNPJ><signAC>" + signAC +
           "</signAC><numeroCaixa>001</numeroCaixa></ide><emit></emit><dest>" + dest +
           "</dest><total></total><infAdic></infAdic></infCFe></CFeCanc>";
}

} // namespace emulator_test
