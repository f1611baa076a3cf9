// The module's rules that depend on its state and its clock, on the logic directly: the
// cancellation window, the blocking states, the activation-code change, the status fields
// that follow the network configuration, the layout setting, the end-to-end test's errors and
// the busy rehearsal.

#include "emulator/module/module.h"
#include "emulator/module/service.h"
#include "emulator/sale/crypto.h"
#include "sale_documents.h"
#include "tests/portable.h"
#include "tests/support/answer_text.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <thread>

namespace emulator {
namespace {

using emulator_test::acSignature;
using emulator_test::activationCode;
using test_support::answerFields;
using test_support::replacedFirst;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;

struct NoRecords : ModuleRecords {
    std::optional<std::string> sessionAnswer(int) const override { return std::nullopt; }
    std::string logText() const override { return {}; }
    std::optional<std::string> lastFiscalAnswer() const override { return std::nullopt; }
};

const TimePoint saleTime = std::chrono::system_clock::from_time_t(1'704'164'645);

class ModuleRules : public ::testing::Test {
protected:
    // One activated and associated module for the whole suite: the RSA key takes a while.
    static void SetUpTestSuite() {
        std::mt19937_64 random(7);
        prepared = newModule(random);
        NoRecords records;
        Module module(prepared, records, saleTime, random);
        module.ativarSAT(1, 1, activationCode, emulator_test::taxpayerCnpj, 23);
        module.associarAssinatura(2, activationCode,
                                  emulator_test::softwareHouseCnpj + emulator_test::taxpayerCnpj,
                                  acSignature());
    }

    Answer at(TimePoint when, const std::function<Answer(Module&)>& operation) {
        Module module(state, records, when, random);
        return operation(module);
    }

    static inline ModuleState prepared;
    ModuleState state = prepared;
    NoRecords records;
    std::mt19937_64 random{11};
};

TEST_F(ModuleRules, CancellationOnlyWithinThirtyMinutesOfTheSale) {
    using namespace std::chrono_literals;
    for (const auto& [delay, expected] :
         {std::pair{29min + 59s, "07000"}, std::pair{30min + 1s, "07099"}}) {
        state = prepared;
        const Answer sale = at(saleTime, [](Module& m) {
            return m.enviarDadosVenda(3, activationCode, emulator_test::saleDocument(1));
        });
        ASSERT_EQ(sale.code, "06000") << sale.text;
        const std::string key = answerFields(sale.text)[8];
        const Answer cancel = at(saleTime + delay, [&](Module& m) {
            return m.cancelarUltimaVenda(4, activationCode, key,
                                         emulator_test::cancellationDocument(key));
        });
        EXPECT_EQ(cancel.code, expected) << cancel.text;
    }
}

// Layouts 0.07 and 0.08 declare the cancellation's dest empty: a customer there is refused as a
// module that validates by schema refuses it; layout 0.06 takes it.
TEST_F(ModuleRules, CancellationNamesACustomerOnlyInLayout006) {
    const struct {
        const char* layout;
        std::string dest;
        const char* expected;
    } cases[] = {
        {"0.06", "<CPF>" + emulator_test::customerCpf + "</CPF>", "07000|0000|"},
        {"0.06", "", "07000|0000|"},
        {"0.07", "<CPF>" + emulator_test::customerCpf + "</CPF>",
         "07007|1999|Erro de validação do conteúdo||Rejeição: Erro não identificado - "
         "Elemento CPF não esperado em dest"},
        {"0.08", "<CNPJ>" + emulator_test::softwareHouseCnpj + "</CNPJ>",
         "07007|1999|Erro de validação do conteúdo||Rejeição: Erro não identificado - "
         "Elemento CNPJ não esperado em dest"},
        {"0.08", "", "07000|0000|"},
    };
    for (const auto& c : cases) {
        state = prepared;
        state.layout = c.layout;
        const std::string document = replacedFirst(
            emulator_test::saleDocument(1), "versaoDadosEnt=\"0.07\"", "versaoDadosEnt=\"0.06\"");
        const Answer sale = at(
            saleTime, [&](Module& m) { return m.enviarDadosVenda(3, activationCode, document); });
        ASSERT_EQ(sale.code, "06000") << sale.text;
        const std::string key = answerFields(sale.text)[8];
        const Answer cancel = at(saleTime, [&](Module& m) {
            return m.cancelarUltimaVenda(
                4, activationCode, key,
                emulator_test::cancellationDocument(key, acSignature(), c.dest));
        });
        EXPECT_THAT(cancel.text, StartsWith(std::string("000004|") + c.expected))
            << c.layout << " " << c.dest;
    }
}

TEST_F(ModuleRules, EachBlockingStateRefusesSalesAndUnblocksOnlyTheTaxpayersOwn) {
    const struct {
        OperationState state;
        const char* sale;
        const char* cancellation;
        const char* unblock;
    } cases[] = {
        {blockedBySefaz, "06007", "07004", "17003"},
        {blockedByTaxpayer, "06006", "07003", "17000"},
        {blockedAutonomously, "06008", "07005", "17006"},
        {blockedForDeactivation, "06007", "07004", "17007"},
    };
    for (const auto& c : cases) {
        state = prepared;
        state.operationState = c.state;
        const auto sale = at(saleTime, [](Module& m) {
            return m.enviarDadosVenda(3, activationCode, emulator_test::saleDocument(1));
        });
        const auto cancel = at(saleTime, [](Module& m) {
            return m.cancelarUltimaVenda(4, activationCode, "CFe", "<CFeCanc/>");
        });
        const auto unblock =
            at(saleTime, [](Module& m) { return m.desbloquearSAT(5, activationCode); });
        EXPECT_EQ(sale.code, c.sale) << c.state;
        EXPECT_EQ(cancel.code, c.cancellation) << c.state;
        EXPECT_EQ(unblock.code, c.unblock) << c.state;
    }
}

TEST_F(ModuleRules, SaleChecksTheAssociationAndTheTaxpayerBeforeTheContent) {
    // Every document also has an entry CFOP, a content fault: the earlier check must answer.
    std::string otherSignature = acSignature();
    otherSignature[0] = 'A';
    const auto sale = [](const std::string& signAC, const std::string& from,
                         const std::string& to) {
        return replacedFirst(
            replacedFirst(emulator_test::saleDocument(1, signAC), "<CFOP>5102", "<CFOP>1102"), from,
            to);
    };
    const struct {
        const char* check;
        std::string document;
        const char* code;
        const char* cccc;
    } cases[] = {
        {"signAC", sale(otherSignature, "<", "<"), "06004", "0000"},
        {"software house", sale(acSignature(), "16716114000172", "11222333000181"), "06004",
         "0000"},
        {"taxpayer", sale(acSignature(), "12345678000195", "11222333000181"), "06010", "1203"},
        {"taxpayer's check digit", sale(acSignature(), "12345678000195", "12345678000196"), "06010",
         "1207"},
        {"content", sale(acSignature(), "<", "<"), "06010", "1462"},
    };
    for (const auto& c : cases) {
        const auto answer =
            answerFields(at(saleTime, [&](Module& m) {
                             return m.enviarDadosVenda(3, activationCode, c.document);
                         }).text);
        ASSERT_GT(answer.size(), 2u) << c.check;
        EXPECT_EQ(answer[1] + "|" + answer[2], std::string(c.code) + "|" + c.cccc) << c.check;
    }
}

TEST_F(ModuleRules, ActivationCodeChange) {
    const struct {
        const char* code;
        int option;
        const char* newCode;
        const char* confirmation;
        const char* expected;
    } cases[] = {
        {"codigo-errado", 1, "novo-codigo", "novo-codigo", "18001"},
        {"codigo-errado", 2, "novo-codigo", "novo-codigo", "18002"},
        {activationCode.c_str(), 3, "novo-codigo", "novo-codigo", "18099"},
        {activationCode.c_str(), 1, "curto", "curto", "18099"},
        {activationCode.c_str(), 1, "novo-codigo", "NOVO-CODIGO", "18099"},
        {activationCode.c_str(), 1, "novo-codigo", "novo-codigo", "18000"},
        {"EMERGENCIA", 2, "novo-codigo", "novo-codigo", "18000"},
    };
    for (const auto& c : cases) {
        state = prepared;
        const auto change = at(saleTime, [&](Module& m) {
            return m.trocarCodigoDeAtivacao(3, c.code, c.option, c.newCode, c.confirmation);
        });
        EXPECT_EQ(change.code, c.expected) << c.code << " " << c.option << " " << c.newCode;
        const bool changed = change.code == "18000";
        const auto status =
            at(saleTime, [](Module& m) { return m.consultarStatusOperacional(4, "novo-codigo"); });
        EXPECT_EQ(status.code, changed ? "10000" : "10001");
    }
}

// TIPO_LAN as the configuration sent it, in any case; a fixed address in any case is fixed.
TEST_F(ModuleRules, StatusFollowsTheNetworkConfiguration) {
    const auto configured = at(saleTime, [](Module& m) {
        return m.configurarInterfaceDeRede(
            3, activationCode,
            "<config><tipoInter>ETHE</tipoInter><tipoLan>ipfix</tipoLan><lanIP>10.0.0.7</lanIP>"
            "<lanMask>255.0.0.0</lanMask><lanGW>10.0.0.1</lanGW><lanDNS1>10.0.0.2</lanDNS1>"
            "<lanDNS2>1.1.1.1</lanDNS2><proxy>0</proxy></config>");
    });
    ASSERT_EQ(configured.code, "12000") << configured.text;
    const auto status = answerFields(at(saleTime, [](Module& m) {
                                         return m.consultarStatusOperacional(4, activationCode);
                                     }).text);
    ASSERT_EQ(status.size(), 28u);
    EXPECT_EQ(status[5], prepared.serial);
    EXPECT_EQ(std::vector(status.begin() + 6, status.begin() + 13),
              (std::vector<std::string>{"ipfix", "010.000.000.007", status[8], "255.000.000.000",
                                        "010.000.000.001", "010.000.000.002", "001.001.001.001"}));
    EXPECT_EQ(status[17], "20240102" + status[17].substr(8));
    EXPECT_EQ(status[23], ""); // no document transmitted yet
    EXPECT_EQ(status[24], prepared.activatedAt);

    const auto extended =
        answerFields(at(saleTime, [](Module& m) {
                         return m.consultarStatusOperacionalMFE(5, activationCode);
                     }).text);
    ASSERT_EQ(extended.size(), 59u);
    EXPECT_EQ(extended[29], "23");
    EXPECT_EQ(extended[32], "ETHE");
    EXPECT_THAT(extended[33], StartsWith("<?xml version=\\\"1.0\\\""));
    EXPECT_EQ(std::vector(extended.begin() + 34, extended.begin() + 39),
              (std::vector<std::string>{"NA", "NA", "NA", "NA", "NA"}));
}

// The module has one layout: what it issues and what its status says agree, whatever the sale's
// versaoDadosEnt, and it refuses sales of a newer layout than its own.
TEST_F(ModuleRules, IssuedVersionAndStatusFollowTheModulesLayout) {
    for (const std::string_view layout : layoutVersions) {
        for (const std::string_view input : layoutVersions) {
            state = prepared;
            state.layout = std::string(layout);
            const std::string document =
                replacedFirst(emulator_test::saleDocument(1), "versaoDadosEnt=\"0.07\"",
                              "versaoDadosEnt=\"" + std::string(input) + "\"");
            const Answer sale = at(saleTime, [&](Module& m) {
                return m.enviarDadosVenda(3, activationCode, document);
            });
            const auto status =
                answerFields(at(saleTime, [](Module& m) {
                                 return m.consultarStatusOperacional(4, activationCode);
                             }).text);
            EXPECT_EQ(status[19], "0" + std::string(layout));
            if (input > layout) {
                EXPECT_THAT(sale.text, StartsWith("000003|06010|1004|")) << layout << " " << input;
                continue;
            }
            ASSERT_EQ(sale.code, "06000") << layout << " " << input << " " << sale.text;
            const std::string cfe = *base64Decode(answerFields(sale.text)[6]);
            EXPECT_NE(cfe.find("versao=\"" + std::string(layout) + "\" versaoDadosEnt=\"" +
                               std::string(input) + "\""),
                      std::string::npos)
                << layout << " " << input;
        }
    }
}

// The end-to-end test answers content errors with its own unknown-error code and text.
TEST_F(ModuleRules, EndToEndTestAnswersContentErrorsWithItsOwnCode) {
    const auto answer = at(saleTime, [](Module& m) {
        return m.testeFimAFim(
            3, activationCode,
            replacedFirst(emulator_test::saleDocument(1), "<IE>111111111111", "<IE>1111111111"));
    });
    EXPECT_EQ(answer.text,
              "000003|09099|Erro desconhecido|1209|Rejeição: IE do emitente inválida - "
              "IE deve ter 12 dígitos");
}

// A rehearsed SEFAZ outage: each call that talks to SEFAZ answers its communication failure and
// changes nothing; calls that do not talk to SEFAZ leave the count alone.
TEST_F(ModuleRules, SefazOutageFailsEachCallThatTalksToSefazAndChangesNothing) {
    const std::string cnpjValue = emulator_test::softwareHouseCnpj + emulator_test::taxpayerCnpj;
    const struct {
        const char* failure;
        const char* success;
        std::function<Answer(Module&)> call;
    } cases[] = {
        {"13002", "13000",
         [&](Module& m) {
             return m.associarAssinatura(3, activationCode, cnpjValue, acSignature());
         }},
        {"16003", "16000", [](Module& m) { return m.bloquearSAT(4, activationCode); }},
        {"17004", "17000", [](Module& m) { return m.desbloquearSAT(5, activationCode); }},
    };
    for (const auto& c : cases) {
        state.sefazOutage.calls = 1;
        EXPECT_EQ(at(saleTime, [](Module& m) { return m.consultarSAT(6); }).code, "08000");
        const ModuleState before = state;
        const Answer failed = at(saleTime, c.call);
        EXPECT_EQ(failed.code, c.failure);
        EXPECT_THAT(failed.text,
                    HasSubstr("|" + std::string(c.failure) + "|Erro de comunicação com a SEFAZ||"));
        EXPECT_EQ(state.operationState, before.operationState);
        EXPECT_EQ(state.lastCommunication, before.lastCommunication);
        EXPECT_EQ(state.sefazOutage.calls, 0);
        EXPECT_EQ(at(saleTime, c.call).code, c.success);
    }

    ModuleState fresh = newModule(random);
    Module module(fresh, records, saleTime, random);
    fresh.sefazOutage.calls = 1;
    EXPECT_THAT(module.ativarSAT(7, 1, activationCode, emulator_test::taxpayerCnpj, 23).text,
                StartsWith("000007|04005|Erro de comunicação com a SEFAZ||"));
    EXPECT_FALSE(fresh.activated);
    EXPECT_TRUE(fresh.privateKeyPem.empty());
}

TEST(BusyRehearsal, ANewSettingCountsAnewAndEveryCallUsesOne) {
    ModuleState state;
    const struct {
        const char* setting;
        bool busy;
    } calls[] = {
        {"", false}, {"2", true},  {"2", true},  {"2", false},  {"", false},
        {"1", true}, {"", false},  {"2", true},  {"3", true},   {"3", true},
        {"3", true}, {"3", false}, {"x", false}, {"-1", false}, {"2x", false},
    };
    for (const auto& call : calls)
        EXPECT_EQ(takeBusyCall(state, call.setting), call.busy) << call.setting;
    state.busy.calls = 1; // written into the state file by hand
    EXPECT_TRUE(takeBusyCall(state, "2x"));
    EXPECT_FALSE(takeBusyCall(state, "2x"));
}

// Activates the module behind `service` and associates the test's signature, with sessions 1 and
// 2, so that it sells.
void activateAndAssociate(Service& service) {
    ASSERT_THAT(service.ativarSAT(1, 1, activationCode, emulator_test::taxpayerCnpj, 35),
                StartsWith("000001|04000|"));
    ASSERT_THAT(service.associarAssinatura(
                    2, activationCode,
                    emulator_test::softwareHouseCnpj + emulator_test::taxpayerCnpj, acSignature()),
                StartsWith("000002|13000|"));
}

// A late cancellation, with the clock moved past the window: the answer is the devices'
// unexplained 07099, the reason is in the module's log.
TEST(LateCancellation, Answers07099AndLogsWhy) {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("mfe-regras-" + std::to_string(portable::processId()));
    std::filesystem::remove_all(folder);
    TimePoint now = saleTime;
    Service service(folder / "estado.json", [&] { return now; });
    ASSERT_NO_FATAL_FAILURE(activateAndAssociate(service));
    const std::string key = answerFields(
        service.enviarDadosVenda(3, activationCode, emulator_test::saleDocument(1)))[8];
    now += std::chrono::minutes(30) + std::chrono::seconds(1);
    EXPECT_EQ(service.cancelarUltimaVenda(4, activationCode, key,
                                          emulator_test::cancellationDocument(key)),
              "000004|07099|0000|||");
    const std::string log = readFile(folder / "estado.log").value_or("");
    EXPECT_THAT(log, EndsWith(";CancelarUltimaVenda;000004;07099;cancelamento recusado: mais de "
                              "30 minutos desde a venda\r\n"));
    std::filesystem::remove_all(folder);
}

// Two callers selling at once through modules of their own on one state file: along the CF-e
// numbers the emission times never go back. The clock makes every other reading slow, so a
// time read before the module's lock would be overtaken by the next caller's.
TEST(ConcurrentSales, EmissionTimesFollowTheDocumentNumbers) {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("mfe-concorrentes-" + std::to_string(portable::processId()));
    std::filesystem::remove_all(folder);
    std::atomic<int> readings = 0;
    const Service::Clock clock = [&] {
        const int reading = readings++;
        if (reading % 2 == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return saleTime + std::chrono::seconds(reading);
    };
    Service setUp(folder / "estado.json", clock);
    ASSERT_NO_FATAL_FAILURE(activateAndAssociate(setUp));

    constexpr int salesEach = 6;
    std::vector<std::string> answers[2];
    std::vector<std::thread> callers;
    for (int caller = 0; caller < 2; ++caller)
        callers.emplace_back([&, caller] {
            Service module(folder / "estado.json", clock);
            for (int i = 0; i < salesEach; ++i)
                answers[caller].push_back(module.enviarDadosVenda(
                    10 + caller * salesEach + i, activationCode, emulator_test::saleDocument(1)));
        });
    for (auto& caller : callers)
        caller.join();

    // nCFe is digits 31 to 36 of the 44-digit key; the time stamp is AAAAMMDDHHMMSS.
    std::vector<std::pair<std::string, std::string>> issued;
    for (const auto& ofCaller : answers)
        for (const auto& answer : ofCaller) {
            const auto fields = answerFields(answer);
            ASSERT_GE(fields.size(), 9u) << answer;
            ASSERT_EQ(fields[1], "06000") << answer;
            issued.emplace_back(fields[8].substr(3 + 31, 6), fields[7]);
        }
    std::sort(issued.begin(), issued.end());
    for (std::size_t i = 1; i < issued.size(); ++i)
        EXPECT_LT(issued[i - 1].second, issued[i].second)
            << "nCFe " << issued[i - 1].first << " at " << issued[i - 1].second << ", nCFe "
            << issued[i].first << " at " << issued[i].second;
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace emulator
