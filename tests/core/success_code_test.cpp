#include "core/success_code.h"

#include <gtest/gtest.h>

namespace {

TEST(SuccessCode, TheFunctionsOwnCodeWithResultZeroIsSuccess) {
    struct Case {
        const char* operation;
        const char* code;
        bool success;
    };
    const Case cases[] = {
        {"ConsultarSAT", "08000", true},
        {"ConsultarSAT", "08098", false},
        {"ConsultarSAT", "10000", false}, // another function's success
        {"ConsultarStatusOperacional", "10000", true},
        {"ConsultarStatusOperacionalMFE", "10000", true},
        {"EnviarDadosVenda", "06000", true},
        {"EnviarDadosVenda", "06010", false},
        {"AtivarSAT", "04006", true}, // certificate request created
        {"AtivarSAT", "04003", false},
        {"TrocarCodigoDeAtivacao", "18000", true},
        // The session query hands back the stored answer of any operation.
        {"ConsultarNumeroSessao", "06000", true},
        {"ConsultarNumeroSessao", "11000", true},
        {"ConsultarNumeroSessao", "11003", false},
        // Not an answer code at all.
        {"ConsultarSAT", "", false},
        {"ConsultarSAT", "8000", false},
        {"ConsultarSAT", "08000 ", false},
        {"ConsultarNumeroSessao", "Erro", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(core::isSuccessCode(*core::operationByName(c.operation), c.code), c.success)
            << c.operation << " " << c.code;
}

} // namespace
