// Secrets never reach the journal in clear: every page's fields are classified the way their
// values are named (a CODIGO or a SENHA is secret), and the call text each page builds from
// given secrets keeps their length but none of their characters once masked.

#include "core/activation_code.h"
#include "journal/call_recorder.h"
#include "journal/secrets.h"
#include "operations/extended_status_report.h"
#include "registry/definitions.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using core::InputField;

bool namedSecret(const InputField& field) {
    return field.kind == InputField::Kind::Text &&
           (field.valueName == "CODIGO" || field.valueName == "SENHA");
}

// A value per field that no other field's value contains.
std::string secretValue(std::size_t index) {
    return "Sgr" + std::to_string(100 + index) + "x";
}

TEST(Secrets, EveryPagesCodesAndPasswordsAreSecretAndNothingElse) {
    std::set<std::string> secretKeys;
    for (const auto& definition : registry::definitions())
        for (const InputField& field : definition.fields) {
            EXPECT_EQ(journal::isSecretField(field.key), namedSecret(field))
                << definition.operation.name << " " << field.key;
            if (namedSecret(field))
                secretKeys.insert(std::string(field.key));
        }
    // The activation code, its change, and both networks' proxy and carrier passwords.
    EXPECT_EQ(secretKeys, (std::set<std::string>{"codigo", "confirmacao", "novo", "proxy-senha",
                                                 "proxy-senha-movel", "senha-movel"}));
}

TEST(Secrets, EveryPagesCallTextAndInputsAreMaskedKeepingTheLength) {
    int pagesWithSecrets = 0;
    for (const auto& definition : registry::definitions()) {
        SCOPED_TRACE(std::string(definition.operation.name));
        core::Inputs inputs;
        std::vector<std::string> secrets;
        for (std::size_t i = 0; i < definition.fields.size(); ++i) {
            const InputField& field = definition.fields[i];
            if (journal::isSecretField(field.key)) {
                secrets.push_back(secretValue(i));
                inputs.set(field.key, secrets.back());
            }
        }
        // The configuration pages send the proxy and carrier passwords inside a document.
        inputs.set("proxy", "configuracao");
        inputs.set("proxy-movel", "configuracao");
        inputs.set("operadora", "VIVO");
        const core::OperationLogic logic =
            definition.bind(definition.operation, inputs, core::OperationContext{});
        core::PreparedCall call;
        try {
            call = logic.prepare("000001");
        } catch (const std::exception&) {
            continue; // a page that needs a document to build its call
        }
        core::CallAttempt attempt;
        attempt.operation = &definition.operation;
        attempt.fields = definition.fields;
        attempt.inputs = inputs;
        attempt.call = call;
        attempt.integradorMode = true;
        const journal::CallEntry entry = journal::entryFor(attempt, {});
        for (const std::string& secret : secrets) {
            for (const std::string* text : {&entry.callText, &entry.request, &entry.inputs})
                EXPECT_EQ(text->find(secret), std::string::npos) << *text;
            if (call.text.find(secret) != std::string::npos) {
                EXPECT_EQ(entry.callText.size(), call.text.size());
            }
        }
        for (const std::string* text : {&entry.callText, &entry.request})
            EXPECT_EQ(text->find("<senha>vivo"), std::string::npos) << *text;
        if (!secrets.empty())
            ++pagesWithSecrets;
    }
    EXPECT_GE(pagesWithSecrets, 10);
}

TEST(Secrets, MaskingCoversEveryOccurrenceAndThePasswordElements) {
    struct Case {
        std::string text;
        std::vector<std::string> secrets;
        std::string expected;
    };
    const Case cases[] = {
        {"Ativar(1,abc12,abc12)", {"abc12"}, "Ativar(1,*****,*****)"},
        // A secret inside a longer one is masked whole by the longer.
        {"T(1,senha-nova,senha)", {"senha-nova", "senha"}, "T(1,**********,*****)"},
        {"<proxy_senha>pw1</proxy_senha><senha>vivo</senha>",
         {},
         "<proxy_senha>***</proxy_senha><senha>****</senha>"},
        {"&lt;senha&gt;tim&lt;/senha&gt;", {}, "&lt;senha&gt;***&lt;/senha&gt;"},
        {"<senha>sem fim", {}, "<senha>sem fim"},
        // The Wi-Fi key of a configuration, and a password the answer carries XML-escaped.
        {"<SSID>loja</SSID><codigo>wifi#1</codigo>",
         {},
         "<SSID>loja</SSID><codigo>******</codigo>"},
        {"<senha>a&amp;b</senha>", {"a&b"}, "<senha>*******</senha>"},
        {"nada aqui", {"", "x9"}, "nada aqui"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(journal::masked(c.text, c.secrets), c.expected) << c.text;
}

// A ConsultarStatusOperacionalMFE answer: fields 5 to 32, then the mobile configuration as the
// module echoes it (escaped XML holding the passwords set before), then NA for the others.
std::string echoingStatusAnswer(const std::string& message) {
    std::string answer = "000123|10000|" + message + "|||";
    for (std::size_t n = 5; n <= 32; ++n)
        answer += (n == 27 ? "0" : n == 29 ? "23" : "1") + std::string("|");
    answer += R"(<?xml version=\"1.0\" encoding=\"UTF-8\"?><config><tipoInter>GPR1</tipoInter>)"
              "<usuario>vivo</usuario><senha>m0vel&amp;pw</senha><proxy>1</proxy>"
              "<proxy_user>px</proxy_user><proxy_senha>Pr0xy9</proxy_senha></config>|";
    return answer + "NA|NA|NA|";
}

TEST(Secrets, WhatTheModuleEchoesIsKeptMaskedWithItsLength) {
    const core::Operation& status = *core::operationByName("ConsultarStatusOperacionalMFE");
    static const InputField fields[] = {core::codigoField};
    core::CallAttempt attempt;
    attempt.operation = &status;
    attempt.fields = fields;
    attempt.inputs.set("codigo", "segredo123");
    attempt.call = core::PreparedCall{"ConsultarStatusOperacionalMFE(000123,segredo123)", {}, {}};
    core::Executed executed;
    // The given code, echoed in the message, and the passwords of the configuration.
    executed.answer = echoingStatusAnswer("Resposta com Sucesso (segredo123)");
    executed.report = operations::extendedStatusPageReport(executed.answer);
    attempt.executed = executed;

    const journal::CallEntry entry = journal::entryFor(attempt, {});
    EXPECT_EQ(entry.answerCode, "10000");
    EXPECT_EQ(entry.answer.size(), executed.answer.size());
    EXPECT_EQ(entry.answer.substr(0, 60), executed.answer.substr(0, 60).replace(35, 10, 10, '*'));
    std::string report;
    for (const std::string& line : executed.report)
        report += line + "\n";
    // The report lays the configuration out; the password lines are there, masked.
    ASSERT_NE(report.find("Pr0xy9"), std::string::npos) << report;
    EXPECT_NE(entry.report.find("<proxy_senha>******</proxy_senha>"), std::string::npos)
        << entry.report;
    EXPECT_EQ(entry.report.size(), report.size());
    for (const std::string* kept : {&entry.answer, &entry.report, &entry.callText})
        for (const char* secret : {"segredo123", "m0vel", "Pr0xy9"})
            EXPECT_EQ(kept->find(secret), std::string::npos) << secret << " in " << *kept;
    EXPECT_NE(entry.answer.find("<usuario>vivo</usuario>"), std::string::npos); // not secret

    // A library that ended mid-call keeps its message masked too.
    attempt.end = core::CallEnd::LibraryEnded;
    attempt.executed->answer = "a biblioteca encerrou ao receber segredo123";
    EXPECT_EQ(journal::entryFor(attempt, {}).message,
              "a biblioteca encerrou ao receber **********");
}

} // namespace
