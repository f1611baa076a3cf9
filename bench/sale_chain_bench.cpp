// The largest sale, 500 items, from the user's file to the saved answer, against the module's own
// work.
//
// BM_BareLibraryCall   the baseline: EnviarDadosVenda called straight into the emulator library
//                      with the bytes the program sends (the module's work alone)
// BM_ProgramSale       what "Executar" of the sale page does: read the file (LeArquivo), build
//                      the call text, call the same library through the driver back-end, write the
//                      report (fields, Base64 text, decoded lines) and save Retornos/Resp_venda.xml
//
// BM_IntegradorExtra    what Integrador mode adds for the same sale on the program's side: the
//                      request preview, the request file written, the answer file read and
//                      parsed, and the answer block laid out (the Integrador's own work and its
//                      folder latency left out; integrador_exchange_bench measures the latter)
//
// The program's own share is BM_ProgramSale minus BM_BareLibraryCall.
// Run: build/sale_chain_bench --benchmark_counters_tabular=true

#include "access/driver_library.h"
#include "access/integrador_answer.h"
#include "access/integrador_request.h"
#include "access/module_access_base.h"
#include "core/catalogue.h"
#include "core/path_text.h"
#include "core/whole_file.h"
#include "documents/document_file.h"
#include "documents/sale.h"
#include "emulator_library.h"
#include "integrador_standin/answer.h"
#include "sale_documents.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <regex>

namespace {

using namespace emulator_test;

constexpr int items = 500;

// A sale of `items` items as large as the layout lets each item be: a 120-character name, ten
// fiscal observations and 500 characters of additional information (about 1.2 MB in all).
std::string largestSale() {
    std::string observations;
    for (int i = 0; i < 10; ++i)
        observations += "<obsFiscoDet xCampoDet=\"Campo" + std::to_string(10 + i) +
                        "xxxxxxxxxxxxx\"><xTextoDet>" + std::string(60, 'T') +
                        "</xTextoDet></obsFiscoDet>";
    std::string sale = saleDocument(items);
    sale = std::regex_replace(sale, std::regex("Produto de teste (\\d+)"),
                              "Produto de teste $1 " + std::string(96, 'P'));
    sale = std::regex_replace(sale, std::regex("<vDesc>0.50</vDesc></prod>"),
                              "<vDesc>0.50</vDesc>" + observations + "</prod>");
    return std::regex_replace(sale, std::regex("</imposto></det>"),
                              "</imposto><infAdProd>" + std::string(500, 'I') +
                                  "</infAdProd></det>");
}

// An activated, associated module, and the sale file as a user has it (CR LF line ends).
class Prepared {
public:
    Prepared() {
        lib.call("AtivarSAT", 1, 1, activationCode.c_str(), taxpayerCnpj.c_str(), 35);
        const std::string value = softwareHouseCnpj + taxpayerCnpj;
        lib.call("AssociarAssinatura", 2, activationCode.c_str(), value.c_str(),
                 acSignature().c_str());
        sent = largestSale();
        std::ofstream(file, std::ios::binary)
            << std::regex_replace(sent, std::regex("\n\r"), "\r\n");
    }
    StateFolder state;
    EmulatorLibrary lib;
    std::string sent; // the bytes the program sends: LF CR after every line
    std::filesystem::path file = state.folder() / "venda.xml";
};

Prepared& prepared() {
    static Prepared p;
    return p;
}

int nextSession() {
    static int session = 10;
    session = session >= 999999 ? 10 : session + 1;
    return session;
}

// Library mode as the command line runs it, with the session numbers of the benchmark.
class LibraryAccess : public backend::ModuleAccessBase {
public:
    explicit LibraryAccess(std::unique_ptr<backend::DriverLibrary> library)
        : library_(std::move(library)) {}
    core::SharedState& state() override { return state_; }
    bool integradorMode() const override { return false; }
    std::string drawSessionNumber() override {
        const std::string digits = std::to_string(nextSession());
        return std::string(6 - digits.size(), '0') + digits;
    }
    std::string callModule(const core::Operation& operation,
                           const core::Arguments& arguments) override {
        return library_->call(operation, arguments);
    }

private:
    std::unique_ptr<backend::DriverLibrary> library_;
    core::SharedState state_;
};

void BM_BareLibraryCall(benchmark::State& state) {
    auto& p = prepared();
    for (auto _ : state) {
        const std::string answer =
            p.lib.call("EnviarDadosVenda", nextSession(), activationCode.c_str(), p.sent.c_str());
        if (answer.find("|06000|") == std::string::npos)
            state.SkipWithError(answer.substr(0, 120).c_str());
    }
    state.counters["document_kB"] = static_cast<double>(p.sent.size()) / 1024;
}
BENCHMARK(BM_BareLibraryCall)->Unit(benchmark::kMillisecond);

void BM_ProgramSale(benchmark::State& state) {
    auto& p = prepared();
    std::string error;
    auto library = backend::DriverLibrary::load(MFE_LIBRARY, error);
    if (!library) {
        state.SkipWithError(error.c_str());
        return;
    }
    LibraryAccess access(std::move(library));
    const core::Operation& venda = *core::operationByName("EnviarDadosVenda");
    core::Inputs inputs;
    inputs.set("codigo", activationCode);
    inputs.set("arquivo", core::utf8FromPath(p.file));
    const core::OperationContext context{p.state.folder(), "0.07", nullptr};
    for (auto _ : state) {
        const core::OperationLogic logic = documents::bindEnviarDadosVenda(venda, inputs, context);
        const core::Shown shown = core::mostrar(access, venda, logic.prepare);
        const core::Executed done = core::executar(access, venda, shown.call, logic.report);
        if (logic.writtenFiles().empty())
            state.SkipWithError(done.answer.substr(0, 120).c_str());
    }
}
BENCHMARK(BM_ProgramSale)->Unit(benchmark::kMillisecond);

void BM_IntegradorExtra(benchmark::State& state) {
    auto& p = prepared();
    const core::Operation& venda = *core::operationByName("EnviarDadosVenda");
    core::Inputs inputs;
    inputs.set("codigo", activationCode);
    inputs.set("arquivo", core::utf8FromPath(p.file));
    const core::OperationContext context{p.state.folder(), "0.07", nullptr};
    const core::PreparedCall call =
        documents::bindEnviarDadosVenda(venda, inputs, context).prepare("000123");
    const std::string identifier = "00012345";
    const auto input = p.state.folder() / backend::requestFileName(venda, identifier);
    const auto output = p.state.folder() / "resposta.xml";
    std::string error;
    core::writeFileWhole(
        output,
        standin::answerDocument(identifier, p.lib.call("EnviarDadosVenda", nextSession(),
                                                       activationCode.c_str(), p.sent.c_str())),
        error);
    // Milliseconds spent in each step, over all iterations.
    double preview = 0, request = 0, answer = 0, display = 0;
    const auto since = [](std::chrono::steady_clock::time_point& start) {
        const auto now = std::chrono::steady_clock::now();
        const double ms = std::chrono::duration<double, std::milli>(now - start).count();
        start = now;
        return ms;
    };
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(
            backend::integradorPreview(venda, identifier, "000123", call.arguments));
        preview += since(start);
        if (!core::writeFileWhole(input,
                                  backend::requestDocument(venda, identifier, call.arguments),
                                  error, core::FlushToDisk::No))
            state.SkipWithError(error.c_str());
        request += since(start);
        const auto bytes = core::readFileWithin(output, documents::maxDocumentBytes, error);
        const auto parsed = bytes ? backend::parseAnswerFile(*bytes, error) : std::nullopt;
        if (!parsed || parsed->retorno.find("|06000|") == std::string::npos)
            state.SkipWithError("the answer file was not read");
        answer += since(start);
        if (bytes)
            benchmark::DoNotOptimize(backend::answerDocumentForDisplay(*bytes));
        display += since(start);
        std::filesystem::remove(input);
    }
    using benchmark::Counter;
    state.counters["preview_ms"] = Counter(preview, Counter::kAvgIterations);
    state.counters["request_ms"] = Counter(request, Counter::kAvgIterations);
    state.counters["answer_ms"] = Counter(answer, Counter::kAvgIterations);
    state.counters["display_ms"] = Counter(display, Counter::kAvgIterations);
}
BENCHMARK(BM_IntegradorExtra)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
