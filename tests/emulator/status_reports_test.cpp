// The program's status reports read the emulator's status answers completely: every field gets
// a known name and every code a known meaning.

#include "access/integrador_answer.h"
#include "operations/extended_status_report.h"
#include "operations/status_report.h"
#include "tests/emulator/emulator_library.h"
#include "tests/emulator/sale_documents.h"
#include "xml/xml_format.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using emulator_test::activationCode;
using emulator_test::taxpayerCnpj;
using testing::Contains;
using testing::HasSubstr;
using testing::Not;

std::string joined(const core::Lines& lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\n";
    return text;
}

TEST(StatusReportsOfTheEmulator, AreCompleteAndKnown) {
    emulator_test::StateFolder state;
    emulator_test::EmulatorLibrary lib;
    const char* code = activationCode.c_str();
    ASSERT_THAT(lib.call("AtivarSAT", 1, 1, code, taxpayerCnpj.c_str(), 35),
                testing::StartsWith("000001|04000|"));
    const std::string ethernet =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><config><tipoInter>ETHE</tipoInter>"
        "<tipoLan>DHCP</tipoLan><proxy>0</proxy><prioridade>1</prioridade></config>";
    ASSERT_THAT(lib.call("ConfigurarInterfaceDeRedeMFE", 2, code, (ethernet + "|||").c_str()),
                testing::StartsWith("000002|12000|"));

    const core::Lines status =
        operations::statusReport(lib.call("ConsultarStatusOperacional", 3, code));
    ASSERT_EQ(status.size(), 26u) << joined(status); // blank, heading, 23 fields, closing
    EXPECT_THAT(joined(status), Not(HasSubstr("desconhecido")));
    EXPECT_THAT(joined(status), Not(HasSubstr("CAMPO_")));
    EXPECT_THAT(status, Contains(" ESTADO_OPERACAO .. DESBLOQUEADO"));

    const operations::NetworkXmlLayout xml{backend::RetiraEscapes, xml::FormatXMLString};
    const core::Lines extended =
        operations::extendedStatusReport(lib.call("ConsultarStatusOperacionalMFE", 4, code), xml);
    const std::string text = joined(extended);
    EXPECT_THAT(text, Not(HasSubstr("desconhecido")));
    EXPECT_THAT(text, Not(HasSubstr("CAMPO_")));
    EXPECT_THAT(text, HasSubstr("<tipoInter>ETHE</tipoInter>"));
    EXPECT_GT(extended.size(), 55u) << text;
}

} // namespace
