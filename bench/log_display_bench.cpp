// ExtrairLogs with a 1 MB log: the log section built from the answer and shown in the answer
// box in one insertion, against the same lines appended one paragraph at a time.
//
//   cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVIK_BUILD_BENCH=ON
//   cmake --build build --target log_display_bench
//   QT_QPA_PLATFORM=offscreen ./build/log_display_bench

#include "core/workflow.h"
#include "operations/extrair_logs.h"
#include "ui/qt_text.h"
#include "ui/text_box.h"

#include <QApplication>
#include <QByteArray>
#include <QPlainTextEdit>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

namespace {

// A module log of about 1 MB, in Base64 broken into lines of 76 characters as modules send it.
std::string logAnswer() {
    QByteArray log;
    for (int i = 0; log.size() < (1 << 20); ++i)
        log += "20240315143005;EnviarDadosVenda;" + QByteArray::number(100000 + i % 900000) +
               ";06000;CFe35240361099008000141599000040190000011234\r\n";
    const QByteArray base64 = log.toBase64();
    std::string answer = "000001|15000|Transferência completa|||";
    for (qsizetype at = 0; at < base64.size(); at += 76)
        answer += base64.mid(at, 76).toStdString() + "\r\n";
    return answer;
}

core::Lines answerLines(const std::string& answer) {
    core::Lines report;
    operations::logReport(answer, report);
    return core::answerBox(false, {}, answer, report);
}

void oneInsertion(benchmark::State& state, QPlainTextEdit* box, const std::string& answer) {
    for (auto _ : state) {
        box->clear();
        ui::appendToBox(box, answerLines(answer));
        QApplication::processEvents();
    }
    state.counters["lines"] = double(box->blockCount());
}

void lineByLine(benchmark::State& state, QPlainTextEdit* box, const std::string& answer) {
    for (auto _ : state) {
        box->clear();
        for (const auto& line : answerLines(answer))
            box->appendPlainText(ui::qs(line));
        QApplication::processEvents();
    }
    state.counters["lines"] = double(box->blockCount());
}

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            times_[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    double ratio(const std::string& a, const std::string& b) { return times_[a] / times_[b]; }

private:
    std::map<std::string, double> times_;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    const std::string answer = logAnswer();
    QPlainTextEdit box;
    box.setReadOnly(true);
    box.setLineWrapMode(QPlainTextEdit::NoWrap);
    box.resize(600, 400);
    box.show();
    std::printf("answer: %zu bytes\n", answer.size());
    benchmark::RegisterBenchmark("log/one_insertion", oneInsertion, &box, answer)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("log/line_by_line", lineByLine, &box, answer)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("line by line / one insertion = %.1f\n",
                reporter.ratio("log/line_by_line/real_time", "log/one_insertion/real_time"));
    benchmark::Shutdown();
}
