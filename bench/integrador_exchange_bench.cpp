// Integrador answer wait: our exchange against the literal loop (continuous listing, half a
// second before each file), on the same folders in the same run.
//   latency             rename of the answer into Output -> ChamaIntegrador returns (median)
//   latency_100_others  the same with 100 other requests' answers lying in Output
//   cpu_14s_wait        CPU time of this process over a 14 s wait with an empty Output
// The three ratios literal/ours are printed at the end.

#include "access/folder_watch.h"
#include "access/integrador_backend.h"
#include "access/integrador_request.h"
#include "bench/literal_integrador_loop.h"
#include "core/whole_file.h"
#include "integrador_standin/answer.h"
#include "integrador_standin/request.h"
#include "xml/xml_security.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <thread>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A stand-in Integrador on a thread: answers each request and notes when the answer appeared.
class Answerer {
public:
    explicit Answerer(const backend::IntegradorFolders& folders)
        : folders_(folders), thread_([this] { run(); }) {}
    ~Answerer() {
        stop_ = true;
        watch_.interrupt();
        thread_.join();
    }
    Clock::time_point answeredAt() const { return Clock::time_point(Clock::duration(at_)); }

private:
    void run() {
        watch_.watch(folders_.input);
        while (!stop_) {
            for (const auto& entry : fs::directory_iterator(folders_.input)) {
                if (entry.path().extension() != ".xml")
                    continue;
                std::string error;
                const auto bytes = core::readFileWithin(entry.path(), xml::kMaxXmlBytes, error);
                const auto request = bytes ? standin::parseRequest(*bytes, error) : std::nullopt;
                if (!request)
                    continue;
                // Lands after the caller's first look at the folder.
                std::this_thread::sleep_for(20ms);
                const auto answer = folders_.output / entry.path().filename();
                auto temporary = answer;
                temporary += ".tmp";
                std::ofstream(temporary, std::ios::binary)
                    << standin::answerDocument(request->identificador, "000001|08000|ok||");
                at_ = Clock::now().time_since_epoch().count();
                fs::rename(temporary, answer);
                fs::remove(entry.path());
            }
            watch_.waitForChange(Clock::now() + 1s);
        }
    }

    backend::IntegradorFolders folders_;
    backend::FolderWatch watch_;
    std::atomic<bool> stop_{false};
    std::atomic<Clock::rep> at_{0};
    std::thread thread_;
};

struct Folders {
    Folders() {
        root =
            fs::temp_directory_path() / ("tarvik-bench-" + std::to_string(std::random_device{}()));
        folders = backend::integradorFoldersUnder(root);
        fs::create_directories(folders.input);
        fs::create_directories(folders.output);
    }
    ~Folders() { fs::remove_all(root); }
    void otherAnswers(int count) {
        std::string error;
        for (int i = 0; i < count; ++i)
            core::writeFileWhole(folders.output / ("Outro" + std::to_string(i) + ".xml"),
                                 standin::answerDocument(std::to_string(90000000 + i), "x||"),
                                 error);
    }
    fs::path root;
    backend::IntegradorFolders folders;
};

enum class Impl { Ours, Literal };

// One caller for many calls, as the program keeps one back-end.
class Caller {
public:
    Caller(Impl impl, const backend::IntegradorFolders& folders, std::chrono::milliseconds limit)
        : impl_(impl), folders_(folders), limit_(limit), ours_(folders, state_, limit) {}

    std::string call() {
        state_.requestIdentifier = backend::GeraIdentificador({0, 0, ++counter_ % 60, 0});
        const auto& op = *core::operationByName("ConsultarSAT");
        const core::Arguments arguments = {core::Argument::integer(1, "000001")};
        if (impl_ == Impl::Literal)
            return bench::literalChamaIntegrador(folders_, op, arguments, state_.requestIdentifier,
                                                 limit_, state_.answerDocument);
        return ours_.call(op, arguments);
    }

private:
    Impl impl_;
    backend::IntegradorFolders folders_;
    std::chrono::milliseconds limit_;
    core::SharedState state_;
    backend::IntegradorBackend ours_;
    int counter_ = 0;
};

void latency(benchmark::State& run, Impl impl, int others) {
    Folders f;
    f.otherAnswers(others);
    Answerer answerer(f.folders);
    Caller caller(impl, f.folders, 10min);
    for (auto _ : run) {
        const std::string answer = caller.call();
        const auto returned = Clock::now();
        if (answer != "000001|08000|ok||")
            run.SkipWithError(("unexpected answer " + answer).c_str());
        run.SetIterationTime(
            std::chrono::duration<double>(returned - answerer.answeredAt()).count());
    }
}

double processCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

void cpuOfWait(benchmark::State& run, Impl impl) {
    Folders f;
    Caller caller(impl, f.folders, 14s);
    for (auto _ : run) {
        const double cpu = processCpuSeconds();
        const auto start = Clock::now();
        caller.call();
        const double wall = std::chrono::duration<double>(Clock::now() - start).count();
        run.counters["cpu_share"] = (processCpuSeconds() - cpu) / wall;
    }
}

// Keeps the medians (or single runs) and prints the ratios once everything has run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& r : runs) {
            if (r.run_type == Run::RT_Aggregate && r.aggregate_name != "median")
                continue;
            const std::string name = r.run_name.function_name;
            seconds_[name] = r.GetAdjustedRealTime() / 1e3; // reported in milliseconds
            if (auto cpu = r.counters.find("cpu_share"); cpu != r.counters.end())
                cpuShare_[name] = cpu->second;
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto ms = [](double s) { return std::to_string(s * 1e3) + " ms"; };
        const auto ratio = [](double a, double b) { return b > 0 ? a / b : 0.0; };
        const double a = seconds_["latency/ours"], al = seconds_["latency/literal"];
        const double c = seconds_["latency/ours_100_others"];
        const double cl = seconds_["latency/literal_100_others"];
        const double b = cpuShare_["cpuOfWait/ours"], bl = cpuShare_["cpuOfWait/literal"];
        std::cout << "\n(a) latency, median: ours " << ms(a) << ", literal " << ms(al)
                  << "  ratio literal/ours " << ratio(al, a) << "\n"
                  << "(b) CPU over a 14 s wait: ours " << b * 100 << " % of a core, literal "
                  << bl * 100 << " %  ratio literal/ours " << ratio(bl, b) << "\n"
                  << "(c) latency with 100 other answers: ours " << ms(c) << " (" << ms(c - a)
                  << " over (a)), literal " << ms(cl) << "  ratio literal/ours " << ratio(cl, c)
                  << "\n";
    }

private:
    std::map<std::string, double> seconds_;
    std::map<std::string, double> cpuShare_;
};

} // namespace

int main(int argc, char** argv) {
    // Our exchange is measured over 50 calls; the literal loop, at half a second (or fifty
    // seconds) a call, over fewer.
    struct Latency {
        const char* name;
        Impl impl;
        int others;
        int calls;
    };
    for (const Latency& l : {Latency{"latency/ours", Impl::Ours, 0, 50},
                             Latency{"latency/literal", Impl::Literal, 0, 10},
                             Latency{"latency/ours_100_others", Impl::Ours, 100, 50},
                             Latency{"latency/literal_100_others", Impl::Literal, 100, 1}})
        benchmark::RegisterBenchmark(l.name, latency, l.impl, l.others)
            ->UseManualTime()
            ->Iterations(1)
            ->Repetitions(l.calls)
            ->ReportAggregatesOnly()
            ->Unit(benchmark::kMillisecond);
    for (const auto& [name, impl] :
         {std::pair{"cpuOfWait/ours", Impl::Ours}, std::pair{"cpuOfWait/literal", Impl::Literal}})
        benchmark::RegisterBenchmark(name, cpuOfWait, impl)
            ->Iterations(1)
            ->UseRealTime()
            ->Unit(benchmark::kSecond);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
}
