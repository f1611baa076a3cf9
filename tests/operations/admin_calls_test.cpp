// The analyses and calls of the activation, signature, code-change and session-query pages, as
// their definitions bind them from what the user typed.

#include "core/catalogue.h"
#include "core/text.h"
#include "operations/associar_assinatura.h"
#include "operations/ativar_sat.h"
#include "operations/cnpj.h"
#include "operations/consultar_numero_sessao.h"
#include "operations/trocar_codigo.h"
#include "registry/definitions.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using core::Lines;

const std::string codeEmpty = "Código de ativação não pode ser nulo";
const std::string codeLength = "Código de ativação deve ter entre 8 e 32 caracteres";
const std::string cnpjOk = "12345678000195";
const std::string cnpjSh = "11222333000181";

core::OperationLogic bind(const char* operation,
                          const std::vector<std::pair<std::string, std::string>>& typed) {
    core::Inputs inputs;
    for (const auto& [key, text] : typed)
        inputs.set(key, text);
    const auto& op = *core::operationByName(operation);
    return registry::definitionOf(op)->bind(op, inputs, {});
}

// What the library receives, one value per argument: integers as numbers, text as typed.
std::vector<std::string> sent(const core::PreparedCall& call) {
    std::vector<std::string> values;
    for (const auto& a : call.arguments)
        values.push_back(a.kind == core::Argument::Kind::Int ? "int:" + std::to_string(a.number)
                                                             : "text:" + a.text);
    return values;
}

TEST(IsCnpj, CheckDigitsLengthAndCharacters) {
    struct Case {
        std::string text;
        bool valid;
    };
    const Case cases[] = {
        {"12345678000195", true},
        {"11222333000181", true},
        {"12345678000196", false}, // wrong second check digit
        {"12345678000185", false}, // wrong first check digit
        {"00000000000000", false}, // check digits would match: refused as repeated digits
        {"11111111111111", false},
        {"99999999999999", false},
        {"1234567800019", false},   // 13 digits
        {"123456780001950", false}, // 15 digits
        {"", false},
        {"12.345.678/0001-95", false},
        {"1234567800019a", false},
        {"a2345678000195", false},
        {"12345678 00195", false},
        {"１2345678000195", false}, // a non-ASCII digit
    };
    for (const Case& c : cases)
        EXPECT_EQ(operations::isCNPJ(c.text), c.valid) << c.text;
}

TEST(AtivarSat, Analysis) {
    struct Case {
        std::string codigo, cnpj, uf;
        Lines findings;
    };
    const Case cases[] = {
        // With every field empty in the window a UF is still selected: three lines.
        {"", "", "CE", {codeEmpty, codeLength, "CNPJ do Contribuinte inválido."}},
        {"12345678", cnpjOk, "CE", {}},
        {"12345678", "1234567800019", "sp", {"CNPJ do Contribuinte inválido."}},
        {"12345678", cnpjOk, "", {"Uma UF deve ser selecionada."}},
        {"12345678", cnpjOk, "XX", {"UF desconhecida: XX."}},
    };
    for (const Case& c : cases) {
        const auto logic =
            bind("AtivarSAT", {{"codigo", c.codigo}, {"cnpj", c.cnpj}, {"uf", c.uf}});
        EXPECT_EQ(logic.analyse(), c.findings) << c.codigo << "/" << c.cnpj << "/" << c.uf;
    }
}

TEST(AtivarSat, SendsSubCommandOneTrimmedTextAndTheUfCode) {
    const auto logic =
        bind("AtivarSAT", {{"codigo", " senha123 "}, {"cnpj", cnpjOk + " "}, {"uf", "SP"}});
    const auto call = logic.prepare("000042");
    EXPECT_EQ(call.text, "AtivarSAT(000042,1,senha123," + cnpjOk + ",35)");
    EXPECT_EQ(sent(call), (std::vector<std::string>{"int:42", "int:1", "text:senha123",
                                                    "text:" + cnpjOk, "int:35"}));
    EXPECT_EQ(call.arguments[4].shown, "35");

    // Without a UF nothing is shown or sent.
    EXPECT_THROW(bind("AtivarSAT", {{"codigo", "senha123"}, {"cnpj", cnpjOk}}).prepare("000042"),
                 std::invalid_argument);
}

TEST(AssociarAssinatura, Analysis) {
    const std::string sig344(344, 'A');
    struct Case {
        std::string codigo, sh, contribuinte, assinatura;
        Lines findings;
    };
    const Case cases[] = {
        {"",
         "",
         "",
         "",
         {codeEmpty, codeLength, "CNPJ do Contribuinte inválido.",
          "CNPJ da Software House inválido.", "Assinatura não pode estar em branco."}},
        {"12345678", cnpjSh, cnpjOk, sig344, {}},
        // 346 characters as the memo holds them (CR LF), 344 sent.
        {"12345678",
         cnpjSh,
         cnpjOk,
         sig344 + "\n",
         {"Assinatura não pode ter mais de 344 caracteres."}},
        {"12345678",
         cnpjSh,
         cnpjOk,
         sig344 + "\r\n",
         {"Assinatura não pode ter mais de 344 caracteres."}},
        {"12345678", cnpjSh, cnpjOk, std::string(171, 'A') + "\n" + std::string(171, 'A'), {}},
        {"12345678", cnpjSh, cnpjOk, " \n\t", {"Assinatura não pode estar em branco."}},
        {"12345678", cnpjOk, "1", "x", {"CNPJ do Contribuinte inválido."}},
    };
    for (const Case& c : cases) {
        const auto logic = bind("AssociarAssinatura", {{"codigo", c.codigo},
                                                       {"cnpj-sh", c.sh},
                                                       {"cnpj-contribuinte", c.contribuinte},
                                                       {"assinatura", c.assinatura}});
        EXPECT_EQ(logic.analyse(), c.findings) << c.assinatura.size();
    }
}

TEST(AssociarAssinatura, SignatureSentOnOneLinePreviewAsTyped) {
    const auto logic = bind("AssociarAssinatura", {{"codigo", "senha123 "},
                                                   {"cnpj-sh", cnpjSh},
                                                   {"cnpj-contribuinte", cnpjOk},
                                                   {"assinatura", " ab\ncd\r\nef "}});
    const auto call = logic.prepare("000007");
    EXPECT_EQ(call.text, "AssociarAssinatura(000007,senha123," + cnpjSh + cnpjOk + ", abcdef )");
    EXPECT_EQ(sent(call), (std::vector<std::string>{"int:7", "text:senha123",
                                                    "text:" + cnpjSh + cnpjOk, "text: abcdef "}));
    EXPECT_EQ(call.arguments[3].shown, " ab\ncd\r\nef ");
}

TEST(AssociarAssinatura, SignatureFromAFileOrTypedButNotBoth) {
    const auto fromFile = bind("AssociarAssinatura", {{"codigo", "senha123"},
                                                      {"cnpj-sh", cnpjSh},
                                                      {"cnpj-contribuinte", cnpjOk},
                                                      {"assinatura-arquivo", "QUJD\r\n"}});
    EXPECT_EQ(sent(fromFile.prepare("000001")).back(), "text:QUJD");
    const auto both =
        bind("AssociarAssinatura", {{"assinatura", "QUJD"}, {"assinatura-arquivo", "QUJD"}});
    EXPECT_EQ(both.analyse().back(),
              "Dê a assinatura por --assinatura ou por --assinatura-arquivo, não pelas duas.");
    EXPECT_THROW(both.prepare("000001"), std::invalid_argument);
}

TEST(TypedText, ACharacterTheCodePageCannotHoldStopsTheCall) {
    const auto logic = bind("AtivarSAT", {{"codigo", "senha✓123"}, {"cnpj", cnpjOk}, {"uf", "CE"}});
    try {
        logic.prepare("000001");
        FAIL() << "no refusal";
    } catch (const std::invalid_argument& e) {
        EXPECT_NE(std::string(e.what()).find("\"✓\""), std::string::npos) << e.what();
    }
}

TEST(TrocarCodigo, Analysis) {
    const std::string atualEmpty = "Código de ativação atual não pode ser nulo";
    const std::string atualLength = "Código de ativação atual deve ter entre 8 e 32 caracteres";
    const std::string novoEmpty = "Novo código de ativação não pode ser nulo";
    const std::string novoLength = "Novo código de ativação deve ter entre 8 e 32 caracteres";
    const std::string confEmpty = "Novo código de ativação redigitado não pode ser nulo";
    const std::string confLength =
        "Novo código de ativação redigitado deve ter entre 8 e 32 caracteres";
    const std::string mismatch = "Novo código e Novo código redigitado não coincidem";
    struct Case {
        operations::TrocarInputs in;
        Lines findings;
    };
    const Case cases[] = {
        {{"", "", "", false},
         {atualEmpty, atualLength, novoEmpty, novoLength, confEmpty, confLength}},
        {{"12345678", "abcdefgh", "", false}, {confEmpty, confLength, mismatch}},
        {{"12345678", "abcdefgh", "ABCDEFGH", false}, {mismatch}},
        {{"", "abcdefgh", "abcdefgh", true},
         {"Código de emergência não pode ser nulo",
          "Código de emergência deve ter entre 8 e 32 caracteres"}},
        {{"12345678", "abcdefgh", "abcdefgh", true}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(operations::analyseTrocar(c.in), c.findings) << c.in.novo << c.in.confirmacao;
}

TEST(TrocarCodigo, OptionFollowsTheEmergencySwitch) {
    for (const bool emergencia : {false, true}) {
        const auto logic = bind("TrocarCodigoDeAtivacao", {{"codigo", " atual123"},
                                                           {"novo", "novo1234 "},
                                                           {"confirmacao", "novo1234"},
                                                           {"emergencia", emergencia ? "1" : ""}});
        const std::string option = emergencia ? "2" : "1";
        const auto call = logic.prepare("000003");
        EXPECT_EQ(call.text,
                  "TrocarCodigoDeAtivacao(000003,atual123," + option + ",novo1234,novo1234)");
        EXPECT_EQ(sent(call), (std::vector<std::string>{"int:3", "text:atual123", "int:" + option,
                                                        "text:novo1234", "text:novo1234"}));
    }
    EXPECT_EQ(operations::codeLabel(true), "Código de Emergência:");
    EXPECT_EQ(operations::codeLabel(false), "Código de Ativação Atual:");
}

TEST(ConsultarNumeroSessao, SessionTextAnalysisAndCall) {
    const std::string notNumeric = "Sessão a Consultar deve ser númerico";
    struct Case {
        std::string sessao;
        Lines findings;
        std::optional<int> sentAs; // nothing: the call is unsendable (the conversion error)
    };
    const Case cases[] = {
        {"123456", {}, 123456},
        {" 42", {}, 42},
        {"42 ", {}, std::nullopt}, // passes the analysis (trimmed), not the conversion
        {"12a", {notNumeric}, std::nullopt},
        {"", {"Sessão a Consultar não pode ser nula"}, std::nullopt},
        {"-7", {}, -7},
        {"+7", {}, 7},
        {"+-7", {notNumeric}, std::nullopt},
        {"-", {notNumeric}, std::nullopt},
        {"2147483647", {}, 2147483647},
        {"2147483648", {notNumeric}, std::nullopt},
        {"-2147483648", {}, -2147483647 - 1},
        {"99999999999999999999", {notNumeric}, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto logic =
            bind("ConsultarNumeroSessao", {{"codigo", "12345678"}, {"sessao", c.sessao}});
        EXPECT_EQ(logic.analyse(), c.findings) << "'" << c.sessao << "'";
        // The call is shown, with the session trimmed, whether or not it can be sent.
        const auto call = logic.prepare("000009");
        const std::string trimmedSessao = core::trimmed(c.sessao);
        EXPECT_EQ(call.text, "ConsultarNumeroSessao(000009,12345678," + trimmedSessao + ")");
        EXPECT_EQ(call.arguments[2].shown, trimmedSessao);
        if (c.sentAs) {
            EXPECT_EQ(call.unsendable, "") << c.sessao;
            EXPECT_EQ(call.arguments[2].number, *c.sentAs) << c.sessao;
        } else {
            EXPECT_EQ(call.unsendable, "'" + c.sessao + "' is not a valid integer value");
        }
    }
    // The session is checked before the code.
    EXPECT_EQ(bind("ConsultarNumeroSessao", {}).analyse(),
              (Lines{"Sessão a Consultar não pode ser nula", codeEmpty, codeLength}));
}

} // namespace
