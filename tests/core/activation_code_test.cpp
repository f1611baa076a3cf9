#include "core/activation_code.h"
#include "operations/ativar_sat.h"
#include "operations/consultar_numero_sessao.h"
#include "registry/definitions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace {

const std::string nulo = "Código de ativação não pode ser nulo";
const std::string tamanho = "Código de ativação deve ter entre 8 e 32 caracteres";

// The message "Mostrar" refuses a code with when the module's code page lacks one of its
// characters: "Analisar" must list the same.
std::string refusal(const std::string& character,
                    const std::string& parameter = "codigoDeAtivacao") {
    return "O caractere \"" + character + "\" de " + parameter +
           " não existe na página de código do módulo: chegaria como \"?\". Corrija o valor "
           "antes de enviar.";
}

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
        {"senha123ő", {refusal("ő")}},  // Windows-1252 has no "ő"
        {"ő", {tamanho, refusal("ő")}}, // every finding, in order
        {"senha€123", {}},              // "€" is in the code page
        {"senha\xff"
         "123",
         {refusal("\xff")}}, // an invalid byte arrives as "?" too
    };
    for (const auto& c : cases)
        EXPECT_EQ(core::checkActivationCode(c.typed), c.findings) << c.typed;
}

TEST(ActivationCode, OtherCodesNameTheirSubjectAndParameter) {
    EXPECT_EQ(core::checkCode("", "Novo código de ativação", "novoCodigo"),
              (core::Lines{"Novo código de ativação não pode ser nulo",
                           "Novo código de ativação deve ter entre 8 e 32 caracteres"}));
    EXPECT_EQ(core::checkCode("novoőcodigo", "Novo código de ativação", "novoCodigo"),
              core::Lines{refusal("ő", "novoCodigo")});
}

// Every page that takes a code lists the refusal in "Analisar" with the words of "Mostrar".
TEST(ActivationCode, AnalysisListsWhatTheCallRefuses) {
    const std::string codigo = "senha123ő";
    for (const core::OperationDefinition& definition : registry::definitions()) {
        const bool takesCode =
            std::any_of(definition.fields.begin(), definition.fields.end(),
                        [](const core::InputField& f) { return f.key == core::codigoField.key; });
        if (!takesCode)
            continue;
        SCOPED_TRACE(std::string(definition.operation.name));
        core::Inputs inputs;
        inputs.set(core::codigoField.key, codigo);
        // Values that let "Mostrar" reach the call on the pages that check them first.
        inputs.set(operations::ufField.key, "SP");
        inputs.set(operations::sessaoField.key, "1");
        const core::OperationLogic logic =
            definition.bind(definition.operation, inputs, core::OperationContext{});
        ASSERT_TRUE(logic.analyse);
        const core::Lines findings = logic.analyse();
        EXPECT_NE(std::find(findings.begin(), findings.end(), refusal("ő")), findings.end());
        try {
            logic.prepare("000001");
            ADD_FAILURE() << "Mostrar sent the code";
        } catch (const std::invalid_argument& e) {
            EXPECT_EQ(e.what(), refusal("ő"));
        }
    }
}

} // namespace
