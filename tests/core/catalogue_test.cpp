#include "core/catalogue.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using namespace std::chrono_literals;

TEST(Catalogue, SixteenOperationsOnPagesZeroToSixteenWithoutTheWelcomePage) {
    const auto ops = core::catalogue();
    ASSERT_EQ(ops.size(), 16u);
    std::set<int> pages;
    for (const auto& op : ops) {
        pages.insert(op.page);
        EXPECT_EQ(core::operationByName(op.name), &op);
        EXPECT_EQ(core::operationByPage(op.page), &op);
        EXPECT_EQ(op.params.front().name, "numeroSessao");
        EXPECT_EQ(op.integradorParams.front().name, "numeroSessao");
    }
    EXPECT_EQ(pages.size(), 16u);
    EXPECT_FALSE(pages.contains(core::welcomePage));
    EXPECT_EQ(core::operationByPage(core::welcomePage), nullptr);
}

TEST(Catalogue, PanelOrderPutsPageSixteenThirdAndPageFifteenEighth) {
    const auto panel = core::panelOrder();
    ASSERT_EQ(panel.size(), 16u);
    EXPECT_EQ(panel[2]->page, 16);
    EXPECT_EQ(panel[7]->page, 15);
    EXPECT_EQ(panel[15]->name, "AtualizarSoftwareSAT");
}

TEST(Catalogue, IntegradorNamesThatDifferFromTheOperation) {
    struct Case {
        int page;
        std::string_view method, prefix;
    };
    const Case cases[] = {{0, "ConsultarMFe", "ConsultarMFe"},
                          {4, "TesteFimAFim", "TesteFimaFim"},
                          {6, "TrocarCodigoDeAtivacao", "TrocarCodigoAtivacao"}};
    for (const auto& c : cases) {
        const auto* op = core::operationByPage(c.page);
        EXPECT_EQ(op->integradorMethod, c.method);
        EXPECT_EQ(op->filePrefix, c.prefix);
    }
}

// Rules that hold for every operation: the busy code is the function's two digits + "098", the
// success code (when the page reports) shares those digits, and only the sale and the
// cancellation carry the extra "0000" field.
TEST(Catalogue, BusyAndSuccessCodesFollowTheFunctionsDigits) {
    for (const auto& op : core::catalogue()) {
        ASSERT_EQ(op.busyCode.size(), 5u) << op.name;
        EXPECT_EQ(op.busyCode.substr(2), "098") << op.name;
        if (!op.successCode.empty()) {
            EXPECT_EQ(op.successCode, std::string(op.busyCode.substr(0, 2)) + "000") << op.name;
        }
        const bool saleOrCancellation =
            op.name == "EnviarDadosVenda" || op.name == "CancelarUltimaVenda";
        EXPECT_EQ(op.busyHasZeroField, saleOrCancellation) << op.name;
    }
    std::set<std::string_view> digits;
    for (const auto& op : core::catalogue())
        digits.insert(op.busyCode.substr(0, 2));
    // The two status queries share 10 and the two network configurations 12.
    EXPECT_EQ(digits.size(), 14u);
}

TEST(Catalogue, WaitLimitsOfTheShortestAndLongestCalls) {
    struct Case {
        int page;
        std::chrono::milliseconds limit;
    };
    const Case cases[] = {{0, 14s}, {3, 30min + 30s}, {8, 40s}, {9, 33s}, {15, 34s}, {16, 50s}};
    for (const auto& c : cases)
        EXPECT_EQ(core::operationByPage(c.page)->waitLimit, c.limit) << c.page;
}

TEST(Catalogue, IntegradorParametersPointAtExistingArguments) {
    for (const auto& op : core::catalogue())
        for (const auto& p : op.integradorParams) {
            if (p.argument < 0) {
                EXPECT_EQ(p.constant, "01") << op.name;
                continue;
            }
            ASSERT_LT(std::size_t(p.argument), op.params.size()) << op.name << " " << p.name;
            EXPECT_TRUE(p.name == op.params[p.argument].name ||
                        (p.name == "cnpjValue" && op.params[p.argument].name == "CNPJvalue"))
                << op.name << " " << p.name;
        }
}

} // namespace
