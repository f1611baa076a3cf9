// What journalling costs one call: a status query with its report and a 20 KB sale answer file
// kept by the window's recorder (journal open) and by tarvik's (opened, pruned and written once
// per run), against a bare SQLite insert of the same bytes into a WAL table in the same run.

#include "journal/call_recorder.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

const std::string statusAnswer =
    "000123|10000|Resposta com Sucesso.|||900004019|DHCP|010.000.000.108|00:0C:29:4F:8A:11|"
    "255.255.255.000|010.000.000.001|008.008.008.008|008.008.004.004|CONECTADO|ALTO|4 GB|"
    "260 MB|20240315143005|01.00.00|00.07|CFe35240361099008000141599000040190000011234|||"
    "20240315140000|20240315143000|20230101|20280101|0";

struct Scratch {
    fs::path folder = fs::temp_directory_path() / "tarvik-journal-bench";
    fs::path file = folder / "historico.sqlite";
    fs::path written = folder / "Resp_venda.xml";
    Scratch() {
        fs::remove_all(folder);
        fs::create_directories(folder);
        std::ofstream(written, std::ios::binary) << std::string(20000, 'x');
    }
    ~Scratch() { fs::remove_all(folder); }
};

core::CallAttempt statusAttempt(const fs::path& written) {
    static const core::InputField fields[] = {{"codigo", "--codigo", "CODIGO", ""}};
    core::CallAttempt attempt;
    attempt.operation = core::operationByName("ConsultarStatusOperacional");
    attempt.fields = fields;
    attempt.inputs.set("codigo", "12345678");
    attempt.call = core::PreparedCall{"ConsultarStatusOperacional(000123,12345678)", {}, {}};
    attempt.session = "000123";
    core::Executed executed;
    executed.answer = statusAnswer;
    for (int i = 0; i < 28; ++i)
        executed.report.push_back("CAMPO_" + std::to_string(i) + "          : valor do campo");
    attempt.executed = executed;
    attempt.files = {written.string()};
    return attempt;
}

const journal::CallSource source{"janela", "DLL", "/opt/tarvik/libmfe.so (versão 1.0)", "0.07"};

void BareSqliteInsert(benchmark::State& state) {
    Scratch scratch;
    sqlite3* db = nullptr;
    sqlite3_open(scratch.file.c_str(), &db);
    sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; CREATE TABLE t(a, b, c)",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO t VALUES (?, ?, ?)", -1, &insert, nullptr);
    const std::string report(28 * 40, 'r');
    for (auto _ : state) {
        sqlite3_bind_text(insert, 1, "ConsultarStatusOperacional(000123,********)", -1,
                          SQLITE_STATIC);
        sqlite3_bind_blob(insert, 2, statusAnswer.data(), int(statusAnswer.size()), SQLITE_STATIC);
        sqlite3_bind_text(insert, 3, report.data(), int(report.size()), SQLITE_STATIC);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_close(db);
}
BENCHMARK(BareSqliteInsert)->Repetitions(9)->ReportAggregatesOnly(true);

void WindowKeepsACall(benchmark::State& state) {
    Scratch scratch;
    const core::CallAttempt attempt = statusAttempt(scratch.written);
    journal::CallRecorder recorder(scratch.file, {});
    recorder.start();
    for (auto _ : state)
        benchmark::DoNotOptimize(recorder.keep(attempt, source));
}
BENCHMARK(WindowKeepsACall)->Repetitions(9)->ReportAggregatesOnly(true);

void TarvikRunKeepsACall(benchmark::State& state) {
    Scratch scratch;
    const core::CallAttempt attempt = statusAttempt(scratch.written);
    for (auto _ : state) {
        journal::CallRecorder recorder(scratch.file, {});
        benchmark::DoNotOptimize(recorder.keep(attempt, source));
    }
}
BENCHMARK(TarvikRunKeepsACall)->Repetitions(9)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
