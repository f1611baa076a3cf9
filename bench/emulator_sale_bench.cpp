// How long the module emulator takes to answer a sale, against the cost of any call.
//
// BM_ConsultarSAT        the baseline: one call through the library (lock, state, log, save)
// BM_EnviarDadosVenda/N  a sale of N items through the library, up to the 500 items a CF-e admits
// BM_IssueCfe/N          the issue of a CF-e of N items without the module's files: read and
//                        check the sale (its parties, then its content), compute it, build and
//                        sign the CF-e and the QR code, encode it and compose the answer; N goes
//                        up to 1,000
//
// Run: build/emulator_bench --benchmark_counters_tabular=true

#include "emulator/module/module.h"
#include "emulator/sale/crypto.h"
#include "emulator/sale/fixed_point.h"
#include "emulator/sale/signature.h"
#include "emulator_library.h"
#include "sale_documents.h"

#include <benchmark/benchmark.h>

namespace {

using namespace emulator_test;

struct NoRecords : emulator::ModuleRecords {
    std::optional<std::string> sessionAnswer(int) const override { return std::nullopt; }
    std::string logText() const override { return {}; }
    std::optional<std::string> lastFiscalAnswer() const override { return std::nullopt; }
};

// An activated, associated module behind the library, with its state in a temporary folder.
class PreparedLibrary {
public:
    PreparedLibrary() {
        lib.call("AtivarSAT", 1, 1, activationCode.c_str(), taxpayerCnpj.c_str(), 35);
        const std::string value = softwareHouseCnpj + taxpayerCnpj;
        lib.call("AssociarAssinatura", 2, activationCode.c_str(), value.c_str(),
                 acSignature().c_str());
    }
    StateFolder state;
    EmulatorLibrary lib;
};

PreparedLibrary& library() {
    static PreparedLibrary prepared;
    return prepared;
}

int nextSession() {
    static int session = 10;
    session = session >= 999999 ? 10 : session + 1;
    return session;
}

void BM_ConsultarSAT(benchmark::State& state) {
    auto& prepared = library();
    for (auto _ : state)
        benchmark::DoNotOptimize(prepared.lib.call("ConsultarSAT", nextSession()));
}
BENCHMARK(BM_ConsultarSAT)->Unit(benchmark::kMillisecond);

void BM_EnviarDadosVenda(benchmark::State& state) {
    auto& prepared = library();
    const std::string document = saleDocument(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const std::string answer = prepared.lib.call("EnviarDadosVenda", nextSession(),
                                                     activationCode.c_str(), document.c_str());
        if (answer.compare(7, 5, "06000") != 0)
            state.SkipWithError(answer.substr(0, 120).c_str());
    }
    state.counters["items"] = static_cast<double>(state.range(0));
    state.counters["document_kB"] = static_cast<double>(document.size()) / 1024;
}
BENCHMARK(BM_EnviarDadosVenda)->Arg(1)->Arg(100)->Arg(500)->Unit(benchmark::kMillisecond);

void BM_IssueCfe(benchmark::State& state) {
    std::mt19937_64 random(1);
    emulator::ModuleState module = emulator::newModule(random);
    NoRecords records;
    emulator::Module(module, records, std::chrono::system_clock::now(), random)
        .ativarSAT(1, 1, activationCode, taxpayerCnpj, 35);
    const std::string document = saleDocument(static_cast<int>(state.range(0)));
    emulator::IssueNumbers numbers{"35",        "20240102", "120000", taxpayerCnpj,
                                   "900000001", "000001",   "123456", ""};
    emulator::composeKey(numbers);

    for (auto _ : state) {
        emulator::ParsedXml input = emulator::parseUntrusted(document, 2'000'000);
        benchmark::DoNotOptimize(emulator::readSaleParties(input.doc.get()));
        auto read = emulator::readSale(input.doc.get(), module.layout);
        const auto& sale = std::get<emulator::Sale>(read);
        const std::string stamp = numbers.date + numbers.time;
        const std::string total = emulator::formatDecimal(sale.totals.total, 2);
        const std::string qr =
            emulator::signBase64(module.privateKeyPem,
                                 emulator::qrCodeText(numbers.key, stamp, total, sale.customerCpf));
        emulator::XmlDoc cfe =
            emulator::writeCfe(sale, {numbers, "2", "010000", qr, module.layout}, module.taxpayer);
        emulator::signEnveloped(cfe.get(), emulator::signedPart(cfe.get()), "CFe" + numbers.key,
                                module.privateKeyPem, module.certificatePem);
        const emulator::Answer answer =
            emulator::AnswerBuilder(1, "06000")
                .add("0000")
                .add("Emitido com sucesso + conteúdo notas")
                .add("")
                .add("")
                .add(emulator::base64Encode(emulator::serialize(cfe.get())))
                .add(stamp)
                .add("CFe" + numbers.key)
                .add(total)
                .add(sale.customerCpf)
                .add(qr)
                .done();
        benchmark::DoNotOptimize(answer.text.data());
    }
    state.counters["items"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_IssueCfe)->Arg(1)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
