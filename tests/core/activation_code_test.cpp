#include "core/activation_code.h"

#include <gtest/gtest.h>

namespace {

const std::string nulo = "Código de ativação não pode ser nulo";
const std::string tamanho = "Código de ativação deve ter entre 8 e 32 caracteres";

TEST(ActivationCode, Findings) {
    struct Case {
        std::string typed;
        core::Lines findings;
    };
    const Case cases[] = {
        {"", {nulo, tamanho}},
        {"1234567", {tamanho}},
        {"12345678", {}},
        {std::string(32, 'a'), {}},
        {std::string(33, 'a'), {tamanho}},
        {"  1234567", {}},         // counted as typed, blanks included
        {"çãçãçãçã", {}},          // eight characters in sixteen bytes
        {"ççççççççççççççççç", {}}, // 17 characters in 34 bytes
        {"ção", {tamanho}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(core::checkActivationCode(c.typed), c.findings) << c.typed;
}

TEST(ActivationCode, OtherCodesNameTheirSubject) {
    EXPECT_EQ(core::checkCode("", "Novo código de ativação"),
              (core::Lines{"Novo código de ativação não pode ser nulo",
                           "Novo código de ativação deve ter entre 8 e 32 caracteres"}));
}

} // namespace
