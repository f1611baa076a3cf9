// What the module promises a point of sale: whatever shape of sale it accepts, the CF-e it
// issues is valid against the tax authority's published schema. Every row of the table of sale
// shapes goes through the library; each accepted one must yield a valid CF-e.

#include "emulator_library.h"
#include "issued_documents.h"
#include "sale_shapes.h"
#include "tests/support/published_files.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace emulator_test {
namespace {

const std::string issuedSchema =
    std::string(TARVIK_PUBLISHED_SCHEMAS_DIR) + "/issued/CfeRecepcao_0007.xsd";

TEST(IssuedSchemaProperty, EveryAcceptedSaleShapeYieldsACfeThePublishedSchemaAccepts) {
    SKIP_WITHOUT_PUBLISHED_FILE(issuedSchema, "-DTARVIK_SCHEMAS_SOURCE");
    StateFolder state;
    EmulatorLibrary lib;
    const char* code = activationCode.c_str();
    ASSERT_EQ(activateAndAssociate(lib), "04000 13000");

    int session = 10;
    int issued = 0;
    for (const auto* table : {&acceptedShapes(), &refusedShapes()}) {
        for (const SaleShape& shape : *table) {
            const std::string document = shape.document();
            const auto answer =
                answerFields(lib.call("EnviarDadosVenda", ++session, code, document.c_str()));
            if (answer.at(1) != "06000")
                continue;
            ++issued;
            EXPECT_EQ(schemaErrors(issuedSchema, inReceptionBatch(decodeBase64(answer.at(6)))), "")
                << shape.name;
        }
    }
    EXPECT_EQ(issued, static_cast<int>(acceptedShapes().size()));
}

} // namespace
} // namespace emulator_test
