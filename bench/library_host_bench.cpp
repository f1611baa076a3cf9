// What reaching the module library through the library host costs against calling it in the
// program's own process: a ConsultarSAT and a sale of 500 items, each way, against the module
// emulator. Starting the host is paid once, before the timed calls.
//
// Run: build/library_host_bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true

#include "access/driver_library.h"
#include "access/hosted_library.h"
#include "emulator_library.h"
#include "sale_documents.h"

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace {

using namespace emulator_test;
using core::Argument;

// An activated module with the test signature associated, its state in a temporary folder that
// the host, started afterwards, also finds through the environment.
struct PreparedModule {
    PreparedModule() {
        if (activateAndAssociate(EmulatorLibrary()) != "04000 13000")
            throw std::runtime_error("the emulator was not activated");
        std::string error;
        inProcess = backend::DriverLibrary::load(MFE_LIBRARY, error);
        hosted = backend::HostedLibrary::load(TARVIK_LIBRARY_HOST, MFE_LIBRARY, error);
        if (!inProcess || !hosted)
            throw std::runtime_error(error);
    }
    StateFolder state;
    std::unique_ptr<backend::LibraryBackend> inProcess;
    std::unique_ptr<backend::LibraryBackend> hosted;
};

PreparedModule& module() {
    static PreparedModule prepared;
    return prepared;
}

int nextSession() {
    static int session = 10;
    session = session >= 999999 ? 10 : session + 1;
    return session;
}

backend::LibraryBackend& way(benchmark::State& state) {
    return state.range(0) == 0 ? *module().inProcess : *module().hosted;
}

void BM_ConsultarSAT(benchmark::State& state) {
    auto& library = way(state);
    const auto& operation = *core::operationByName("ConsultarSAT");
    for (auto _ : state)
        benchmark::DoNotOptimize(library.call(operation, {Argument::integer(nextSession(), "")}));
    state.SetLabel(state.range(0) == 0 ? "in process" : "library host");
}
BENCHMARK(BM_ConsultarSAT)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_Sale500(benchmark::State& state) {
    auto& library = way(state);
    const auto& operation = *core::operationByName("EnviarDadosVenda");
    const std::string document = saleDocument(500);
    for (auto _ : state) {
        const std::string answer = library.call(operation, {Argument::integer(nextSession(), ""),
                                                            Argument::typed(activationCode, ""),
                                                            Argument::document(document, "")});
        if (answer.compare(7, 5, "06000") != 0)
            state.SkipWithError(answer.substr(0, 120).c_str());
    }
    state.SetLabel(state.range(0) == 0 ? "in process" : "library host");
}
BENCHMARK(BM_Sale500)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
