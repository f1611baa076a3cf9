// Loading the driver library and one ConsultarSAT call the way the program does it (version
// read, entry points resolved, arguments built, answer copied) against a bare dlopen, dlsym
// and call of the same library. Neither unloads it, as the program never does: after the
// first iteration both measure what choosing the library again costs.

#include "access/driver_library.h"
#include "core/call_builder.h"

#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <string>

namespace {

void BareDlopenAndCall(benchmark::State& state) {
    for (auto _ : state) {
        void* handle = dlopen(FAKE_LIBRARY_LINK, RTLD_NOW | RTLD_LOCAL);
        auto fn = reinterpret_cast<const char* (*)(int)>(dlsym(handle, "ConsultarSAT"));
        std::string answer = fn(4711);
        benchmark::DoNotOptimize(answer);
    }
}
BENCHMARK(BareDlopenAndCall);

void ProgramLoadAndCall(benchmark::State& state) {
    const auto& consultar = *core::operationByName("ConsultarSAT");
    for (auto _ : state) {
        std::string version = backend::libraryFileVersion(FAKE_LIBRARY_LINK);
        std::string error;
        auto library = backend::DriverLibrary::load(FAKE_LIBRARY_LINK, error);
        std::string answer =
            library->call(consultar, core::buildCall(consultar, "004711", {}).arguments);
        benchmark::DoNotOptimize(version);
        benchmark::DoNotOptimize(answer);
    }
}
BENCHMARK(ProgramLoadAndCall);

} // namespace

BENCHMARK_MAIN();
