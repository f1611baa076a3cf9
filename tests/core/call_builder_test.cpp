#include "core/call_builder.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

const core::Operation& op(std::string_view name) {
    return *core::operationByName(name);
}

TEST(BuildCall, TypesComeFromTheCatalogueAndValuesMayBeShownOtherwise) {
    core::CallValue document{"<CFe>\n\r</CFe>\n\r", true, "<CFe>\n\r</CFe>", std::nullopt};
    const core::PreparedCall call = core::buildCall(op("EnviarDadosVenda"), "000815",
                                                    {core::CallValue::typed("abc"), document});
    EXPECT_EQ(call.text, "EnviarDadosVenda(000815,abc,<CFe>\n\r</CFe>)");
    ASSERT_EQ(call.arguments.size(), 3u);
    EXPECT_EQ(call.arguments[0].kind, core::Argument::Kind::Int);
    EXPECT_EQ(call.arguments[0].number, 815);
    EXPECT_EQ(call.arguments[0].shown, "000815");
    EXPECT_EQ(call.arguments[1].kind, core::Argument::Kind::Text);
    EXPECT_EQ(call.arguments[2].kind, core::Argument::Kind::Document);
    EXPECT_EQ(call.arguments[2].text, "<CFe>\n\r</CFe>\n\r");
    EXPECT_EQ(call.arguments[2].shown, "<CFe>\n\r</CFe>\n\r");

    // AtivarSAT's cUF is an integer sent as its code, shown as typed.
    const core::PreparedCall ativar = core::buildCall(op("AtivarSAT"), "000001",
                                                      {core::CallValue::typed("1"),
                                                       core::CallValue::typed("codigo12"),
                                                       core::CallValue::typed("12345678000195"),
                                                       {"35", false, std::nullopt, "35"}});
    EXPECT_EQ(ativar.text, "AtivarSAT(000001,1,codigo12,12345678000195,35)");
    EXPECT_EQ(ativar.arguments[1].kind, core::Argument::Kind::Int);
    EXPECT_EQ(ativar.arguments[4].number, 35);
}

TEST(BuildCall, RefusesWhatCannotBeSent) {
    struct Case {
        const char* what;
        std::string_view operation;
        std::vector<core::CallValue> values;
        const char* message; // part of the message
    };
    const Case cases[] = {
        {"one value too many", "ConsultarSAT", {core::CallValue::typed("x")}, "takes 0 values"},
        {"an integer that is not one",
         "ConsultarNumeroSessao",
         {core::CallValue::typed("codigo12"), core::CallValue::typed("12a")},
         "not a valid integer"},
        {"a character outside the code page",
         "ConsultarStatusOperacional",
         {core::CallValue::typed("c\xC3\xB3"
                                 "digo\xE2\x82\xAC\xC5\x91")}, // ó and € exist, ő does not
         "\"\xC5\x91\" de codigoDeAtivacao"},
    };
    for (const Case& c : cases) {
        try {
            core::buildCall(op(c.operation), "000001", c.values);
            ADD_FAILURE() << c.what << ": accepted";
        } catch (const std::invalid_argument& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos)
                << c.what << ": " << e.what();
        }
    }
    // A document travels as its bytes, whatever they are.
    EXPECT_NO_THROW(core::buildCall(
        op("EnviarDadosVenda"), "000001",
        {core::CallValue::typed("codigo12"), {"\xC5\x91\xFF", true, std::nullopt, std::nullopt}}));
}

} // namespace
