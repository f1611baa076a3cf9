// ValidarXmlComXsd against `xmllint --noout --schema` on the same generated 1 MB CF-e, valid and
// with 20 scattered errors; prints the time ratios of the run at the end.
//
//   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVIK_BUILD_BENCH=ON
//   cmake --build build-bench --target validation_bench && ./build-bench/validation_bench

#include "cfe_generator.h"
#include "xml/xml_validation.h"
#include "xml/xsd_schema.h"

#include <benchmark/benchmark.h>
#include <libxml/tree.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct Files {
    fs::path schema;         // the published schema, as the program reads it
    fs::path strippedSchema; // the same with its anchors stripped, for xmllint
    fs::path valid;
    fs::path broken;
};

Files prepare(const fs::path& dir) {
    fs::create_directories(dir);
    Files files{fs::path(TARVIK_SHARED_DIR) / "schemas" / "emissao_cfe_0007.xsd",
                dir / "emissao_cfe_0007_sem_ancoras.xsd", dir / "cfe_valido.xml",
                dir / "cfe_20_erros.xml"};

    auto schemaDoc = xml::readXmlFileSafely(files.schema);
    if (!schemaDoc.doc)
        throw std::runtime_error("cannot read " + files.schema.string());
    xml::stripPatternAnchors(*schemaDoc.doc);
    if (xmlSaveFile(files.strippedSchema.c_str(), schemaDoc.doc.get()) < 0)
        throw std::runtime_error("cannot write " + files.strippedSchema.string());

    std::ofstream(files.valid, std::ios::binary) << bench::generateSale({500, 6, 0});
    std::ofstream(files.broken, std::ios::binary) << bench::generateSale({500, 6, 20});
    return files;
}

int xmllint(const Files& files, const fs::path& document) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::string schema = files.strippedSchema.string();
    std::string doc = document.string();
    char* argv[] = {const_cast<char*>("xmllint"),
                    const_cast<char*>("--noout"),
                    const_cast<char*>("--schema"),
                    schema.data(),
                    doc.data(),
                    nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, "xmllint", &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned != 0 || waitpid(pid, &status, 0) < 0 || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

void ours(benchmark::State& state, const Files& files, const fs::path& document) {
    std::size_t findings = 0;
    for (auto _ : state)
        findings = xml::ValidarXmlComXsd(document, files.schema).size();
    state.counters["findings"] = static_cast<double>(findings);
}

void theirs(benchmark::State& state, const Files& files, const fs::path& document) {
    int status = 0;
    for (auto _ : state)
        status = xmllint(files, document);
    if (status < 0)
        state.SkipWithError("xmllint could not be run (package libxml2-utils)");
    state.counters["exit"] = status;
}

// Keeps the real time of each run to print the ratios after the table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (!run.error_occurred)
                times_[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }

    void printRatio(const std::string& label, const std::string& ours, const std::string& base) {
        const auto a = times_.find(ours);
        const auto b = times_.find(base);
        if (a != times_.end() && b != times_.end())
            std::printf("%s: ValidarXmlComXsd / xmllint = %.2f\n", label.c_str(),
                        a->second / b->second);
    }

private:
    std::map<std::string, double> times_;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const Files files = prepare(fs::temp_directory_path() / "tarvik-validation-bench");
    std::printf("valid: %ju bytes, with errors: %ju bytes\n",
                static_cast<std::uintmax_t>(fs::file_size(files.valid)),
                static_cast<std::uintmax_t>(fs::file_size(files.broken)));

    const auto add = [](const char* name, auto function, const Files& f, const fs::path& doc) {
        benchmark::RegisterBenchmark(name, function, f, doc)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    };
    add("ValidarXmlComXsd/valid", ours, files, files.valid);
    add("xmllint/valid", theirs, files, files.valid);
    add("ValidarXmlComXsd/20_errors", ours, files, files.broken);
    add("xmllint/20_errors", theirs, files, files.broken);

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatio("valid", "ValidarXmlComXsd/valid/real_time", "xmllint/valid/real_time");
    reporter.printRatio("20 errors", "ValidarXmlComXsd/20_errors/real_time",
                        "xmllint/20_errors/real_time");
    benchmark::Shutdown();
    fs::remove_all(fs::temp_directory_path() / "tarvik-validation-bench");
}
