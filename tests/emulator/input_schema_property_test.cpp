// The other way round from the issued-document property: whatever the tax authority's published
// input schema refuses, the module refuses too. Over the table of sale shapes and a table of sales
// with one value broken each (a pattern or a length of the schema's simple types), for every
// layout: a sale the schema refuses gets 06010 (or the module's earlier refusal), never a CF-e.

#include "emulator_library.h"
#include "issued_documents.h"
#include "sale_shapes.h"
#include "tests/support/published_files.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>

namespace emulator_test {
namespace {

std::string inputSchema(std::string_view layout) {
    return std::string(TARVIK_PUBLISHED_SCHEMAS_DIR) + "/emissao_cfe_000" +
           std::string(layout.substr(3)) + ".xsd";
}

// One value of the test sale broken against its simple type.
const std::vector<SaleShape>& brokenValues() {
    const std::string longText(121, 'x');
    static const std::vector<SaleShape> shapes{
        {"numeroCaixa of two digits", {{"<numeroCaixa>001", "<numeroCaixa>01"}}, 0},
        {"signAC too long", {{"AA==</signAC>", "AAA==</signAC>"}}, 0},
        {"cProd too long", {{"<cProd>1<", "<cProd>" + std::string(61, '1') + "<"}}, 0},
        {"xProd too long", {{"<xProd>Produto de teste 1<", "<xProd>" + longText + "<"}}, 0},
        {"NCM of seven digits", {{"<NCM>22021000", "<NCM>2202100"}}, 0},
        {"CFOP of three digits", {{"<CFOP>5102", "<CFOP>510"}}, 0},
        {"uCom too long", {{"<uCom>UN", "<uCom>UNIDADES"}}, 0},
        {"qCom with three decimals", {{"<qCom>2.0000", "<qCom>2.000"}}, 0},
        {"vUnCom with one decimal", {{"<vUnCom>10.555", "<vUnCom>10.5"}}, 0},
        {"vDesc with three decimals", {{"<vDesc>0.50", "<vDesc>0.500"}}, 0},
        {"vItem12741 with one decimal", {{"<vItem12741>1.00", "<vItem12741>1.0"}}, 0},
        {"Orig of two digits", {{"<Orig>0", "<Orig>00"}}, 0},
        {"ICMS CST of one digit", {{"<CST>00", "<CST>0"}}, 0},
        {"pICMS with one decimal", {{"<pICMS>18.00", "<pICMS>18.0"}}, 0},
        {"vBC with three decimals", {{"<vBC>20.61", "<vBC>20.610"}}, 0},
        {"pPIS with three decimals", {{"<pPIS>0.0165", "<pPIS>0.016"}}, 0},
        {"vCFeLei12741 with one decimal", {{"<vCFeLei12741>2.00", "<vCFeLei12741>2.0"}}, 0},
        {"cMP of one digit", {{"<cMP>01", "<cMP>1"}}, 0},
        {"vMP with one decimal", {{"<vMP>100000.00", "<vMP>100000.0"}}, 0},
        {"infCpl too long", {{"<infCpl>Obrigado", "<infCpl>" + std::string(5001, 'x')}}, 0},
        {"customer name too long",
         {{"</CPF>", "</CPF><xNome>" + longText.substr(0, 61) + "</xNome>"}},
         0},
    };
    return shapes;
}

TEST(InputSchemaProperty, WhatThePublishedInputSchemaRefusesTheModuleRefuses) {
    SKIP_WITHOUT_PUBLISHED_FILE(inputSchema("0.08"), "-DTARVIK_SCHEMAS_SOURCE");
    int session = 10;
    int refusedBySchema = 0;
    for (const std::string layout : {"0.06", "0.07", "0.08"}) {
        StateFolder state;
        EmulatorLibrary lib;
        const char* code = activationCode.c_str();
        ASSERT_EQ(activateAndAssociate(lib), "04000 13000");
        {
            std::ifstream in(state.stateFile());
            std::string text((std::istreambuf_iterator<char>(in)), {});
            text = std::regex_replace(text, std::regex("\"versaoLayout\": \"[0-9.]+\""),
                                      "\"versaoLayout\": \"" + layout + "\"");
            std::ofstream(state.stateFile(), std::ios::trunc) << text;
        }
        for (const auto* table : {&acceptedShapes(), &refusedShapes(), &brokenValues()}) {
            for (const SaleShape& shape : *table) {
                std::string document = shape.document();
                const std::string version = "versaoDadosEnt=\"0.07\"";
                if (const auto at = document.find(version); at != std::string::npos)
                    document.replace(at, version.size(), "versaoDadosEnt=\"" + layout + "\"");
                const std::string errors = schemaErrors(inputSchema(layout), document);
                if (errors.empty())
                    continue;
                ++refusedBySchema;
                const auto answer =
                    answerFields(lib.call("EnviarDadosVenda", ++session, code, document.c_str()));
                // Two answers other than 06010 are a device's too: a blank customer name is the
                // alert 1234 and the CF-e is issued without it, and an AC signature that is not
                // the associated one is 06004, checked before the content.
                const bool alert = answer.at(1) == "06000" && answer.at(2) == "1234";
                EXPECT_TRUE(answer.at(1) == "06010" || answer.at(1) == "06004" || alert)
                    << layout << " " << shape.name << ": answered " << answer.at(1) << " "
                    << answer.at(2) << ", the schema says " << errors;
            }
        }
    }
    EXPECT_GE(refusedBySchema, 3 * static_cast<int>(brokenValues().size()));
}

} // namespace
} // namespace emulator_test
