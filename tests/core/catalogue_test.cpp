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

TEST(Catalogue, WaitLimitsAndBusyAnswers) {
    struct Case {
        int page;
        std::chrono::milliseconds limit;
        std::string_view code;
        bool zeros;
    };
    const Case cases[] = {{0, 14s, "08098", false},  {3, 30min + 30s, "13098", false},
                          {8, 40s, "06098", true},   {9, 33s, "07098", true},
                          {15, 34s, "10098", false}, {16, 50s, "12098", false}};
    for (const auto& c : cases) {
        const auto* op = core::operationByPage(c.page);
        EXPECT_EQ(op->waitLimit, c.limit) << op->name;
        EXPECT_EQ(op->busyCode, c.code) << op->name;
        EXPECT_EQ(op->busyHasZeroField, c.zeros) << op->name;
    }
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
