#include "cfe_generator.h"

namespace bench {
namespace {

std::string item(int number, int obsCount, int fault) {
    const std::string n = std::to_string(number);
    std::string xml = "    <det nItem=\"" + n + "\">\n      <prod>\n";
    xml += "        <cProd>" + std::string(12 - n.size(), '0') + n + "</cProd>\n";
    xml += "        <cEAN>7891234567895</cEAN>\n";
    if (fault == 1)
        xml += "        <CEST>2899900</CEST>\n";
    xml += "        <xProd>PRODUTO DE TESTE NUMERO " + n + " EMBALAGEM ECONOMICA</xProd>\n";
    xml += "        <NCM>22021000</NCM>\n";
    xml += fault == 0 ? "        <CFOP>510</CFOP>\n" : "        <CFOP>5102</CFOP>\n";
    if (fault != 2)
        xml += "        <uCom>UN</uCom>\n";
    xml += "        <qCom>2.0000</qCom>\n        <vUnCom>3.500</vUnCom>\n";
    xml += "        <indRegra>A</indRegra>\n";
    for (int i = 0; i < obsCount; ++i)
        xml += "        <obsFiscoDet xCampoDet=\"CAMPO" + std::to_string(i) +
               "\">\n          <xTextoDet>OBSERVACAO DO FISCO SOBRE O ITEM " + n + " DE NUMERO " +
               std::to_string(i) + "</xTextoDet>\n        </obsFiscoDet>\n";
    xml += "      </prod>\n      <imposto>\n        <vItem12741>1.23</vItem12741>\n";
    xml += "        <ICMS>\n          <ICMS00>\n            <Orig>0</Orig>\n"
           "            <CST>00</CST>\n";
    xml += fault == 3 ? "            <pICMS>18.0</pICMS>\n" : "            <pICMS>18.00</pICMS>\n";
    xml += "          </ICMS00>\n        </ICMS>\n";
    xml += "        <PIS>\n          <PISAliq>\n            <CST>01</CST>\n"
           "            <vBC>7.00</vBC>\n            <pPIS>0.0165</pPIS>\n"
           "          </PISAliq>\n        </PIS>\n";
    xml += "        <COFINS>\n          <COFINSAliq>\n            <CST>01</CST>\n"
           "            <vBC>7.00</vBC>\n            <pCOFINS>0.0760</pCOFINS>\n"
           "          </COFINSAliq>\n        </COFINS>\n      </imposto>\n";
    xml += "      <infAdProd>" + std::string(300, 'I') + "</infAdProd>\n    </det>\n";
    return xml;
}

} // namespace

std::string generateSale(const SaleShape& shape) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<CFe>\n"
                      "  <infCFe versaoDadosEnt=\"0.07\">\n"
                      "    <ide>\n      <CNPJ>16716114000172</CNPJ>\n"
                      "      <signAC>SGR-SAT SISTEMA DE GESTAO E RETAGUARDA DO SAT</signAC>\n"
                      "      <numeroCaixa>001</numeroCaixa>\n    </ide>\n"
                      "    <emit>\n      <CNPJ>14200166000166</CNPJ>\n"
                      "      <IE>111111111111</IE>\n      <indRatISSQN>N</indRatISSQN>\n"
                      "    </emit>\n    <dest/>\n";
    const int step = shape.brokenItems > 0 ? shape.items / shape.brokenItems : 0;
    int broken = 0;
    for (int i = 1; i <= shape.items; ++i) {
        const bool faulty = step > 0 && broken < shape.brokenItems && i % step == step / 2;
        xml += item(i, shape.obsPerItem, faulty ? broken++ % 4 : -1);
    }
    xml += "    <total>\n      <vCFeLei12741>615.00</vCFeLei12741>\n    </total>\n"
           "    <pgto>\n      <MP>\n        <cMP>01</cMP>\n        <vMP>3500.00</vMP>\n"
           "      </MP>\n    </pgto>\n  </infCFe>\n</CFe>\n";
    return xml;
}

} // namespace bench
