// The emulator's table of answer texts against the texts captured from real devices, and the
// answers that must not be taken for one another.

#include "emulator/module/answers.h"

#include <gtest/gtest.h>

namespace emulator {
namespace {

TEST(AnswerTexts, AreTheTextsRealDevicesWrite) {
    const struct {
        const char* code;
        const char* text;
    } captured[] = {
        {"05002", "Erro de comunicação com a SEFAZ"},
        {"05003", "Certificado inválido"},
        {"04099", "Erro desconhecido na ativação"},
        {"08000", "SAT em Operação"},
        {"13003", "Assinatura fora do padrão especificado"},
        {"13007", "CNPJ do contribuinte difere daquele constante da parametrização de uso"},
        {"16002", "Equipamento SAT já está bloqueado"},
    };
    for (const auto& row : captured)
        EXPECT_EQ(standardMessage(row.code), row.text) << row.code;
}

TEST(AnswerTexts, SharedResultsKeepTheirTextUnlessAFunctionHasItsOwn) {
    EXPECT_EQ(standardMessage("05099"), "Erro desconhecido");
    EXPECT_EQ(standardMessage("10001"), "Código de ativação inválido");
    EXPECT_EQ(standardMessage("16098"), "SAT em processamento. Tente novamente.");
    EXPECT_EQ(standardMessage("04099"), "Erro desconhecido na ativação");
    EXPECT_EQ(standardMessage("06011"), "");
}

} // namespace
} // namespace emulator
