#include "documents/end_to_end_sample.h"

#include <string_view>

namespace documents {
namespace {

// The test registrations the module under test is set up for.
constexpr std::string_view softwareHouseCnpj = TARVIK_SAMPLE_SH_CNPJ;
constexpr std::string_view issuerCnpj = TARVIK_SAMPLE_EMIT_CNPJ;
constexpr std::string_view issuerIe = TARVIK_SAMPLE_EMIT_IE;
static_assert(softwareHouseCnpj.size() == 14, "TARVIK_SAMPLE_SH_CNPJ must have 14 digits");
static_assert(issuerCnpj.size() == 14, "TARVIK_SAMPLE_EMIT_CNPJ must have 14 digits");
static_assert(issuerIe.size() == 12, "TARVIK_SAMPLE_EMIT_IE must have 12 digits");

} // namespace

std::string sampleSale() {
    std::string sale = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                       "<CFe><infCFe versaoDadosEnt=\"0.06\"><ide><CNPJ>";
    sale += softwareHouseCnpj;
    sale += "</CNPJ><signAC>SGR-SAT SISTEMA DE GESTAO E RETAGUARDA DO SAT</signAC>"
            "<numeroCaixa>099</numeroCaixa></ide><emit><CNPJ>";
    sale += issuerCnpj;
    sale += "</CNPJ><IE>";
    sale += issuerIe;
    sale += "</IE><cRegTribISSQN>1</cRegTribISSQN><indRatISSQN>N</indRatISSQN></emit>"
            "<dest><CNPJ>";
    sale += softwareHouseCnpj;
    sale += "</CNPJ></dest><det nItem=\"1\"><prod><cProd>001</cProd><xProd>MiniPc Vexor</xProd>"
            "<CFOP>5001</CFOP><uCom>UN</uCom><qCom>1.0000</qCom><vUnCom>654.320</vUnCom>"
            "<indRegra>A</indRegra></prod><imposto><vItem12741>1.00</vItem12741><ICMS><ICMS00>"
            "<Orig>0</Orig><CST>00</CST><pICMS>12.00</pICMS></ICMS00></ICMS><PIS><PISAliq>"
            "<CST>01</CST><vBC>654.32</vBC><pPIS>0.0600</pPIS></PISAliq></PIS><COFINS>"
            "<COFINSAliq><CST>01</CST><vBC>654.32</vBC><pCOFINS>0.0400</pCOFINS></COFINSAliq>"
            "</COFINS></imposto></det><total><vCFeLei12741>1.00</vCFeLei12741></total><pgto>"
            "<MP><cMP>01</cMP><vMP>2000.00</vMP></MP></pgto></infCFe></CFe>";
    return sale;
}

} // namespace documents
