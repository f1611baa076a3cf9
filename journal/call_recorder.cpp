#include "journal/call_recorder.h"

#include "access/integrador_request.h"
#include "core/answer_cuts.h"
#include "core/path_text.h"
#include "core/text.h"
#include "core/time_of_day.h"
#include "journal/secrets.h"
#include "journal/sha256.h"

#include <nlohmann/json.hpp>

#include <ctime>
#include <stdexcept>

namespace journal {
namespace {

std::string localText(std::chrono::system_clock::time_point when) {
    const std::tm local = core::localCalendar(when);
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S %z", &local);
    return text;
}

// The outcome and message of an attempt that ended without an answer.
void readFailure(const core::CallAttempt& attempt, CallEntry& entry) {
    try {
        std::rethrow_exception(attempt.failure);
    } catch (const std::invalid_argument& e) {
        // A call shown but not sendable: stopped before the module was called.
        entry.outcome = Outcome::Refused;
        entry.message = e.what();
    } catch (const std::exception& e) {
        entry.outcome = Outcome::Unreachable;
        entry.message = e.what();
    } catch (...) {
        entry.outcome = Outcome::Unreachable;
        entry.message = "erro desconhecido";
    }
}

std::string maskedInputs(const core::CallAttempt& attempt,
                         const std::vector<std::string>& secrets) {
    nlohmann::ordered_json inputs = nlohmann::ordered_json::object();
    for (const core::InputField& field : attempt.fields)
        if (attempt.inputs.given(field.key))
            inputs[std::string(field.key)] =
                core::decodeUtf8(masked(attempt.inputs.text(field.key), secrets));
    return inputs.dump();
}

} // namespace

CallEntry entryFor(const core::CallAttempt& attempt, const CallSource& source) {
    const std::vector<std::string> secrets = secretValues(attempt.fields, attempt.inputs);
    CallEntry entry;
    entry.start = attempt.start;
    entry.startLocal = localText(attempt.start);
    entry.duration = std::chrono::duration_cast<std::chrono::microseconds>(attempt.duration);
    entry.programVersion = TARVIK_VERSION;
    entry.frontEnd = source.frontEnd;
    entry.accessMode = source.accessMode;
    entry.target = source.target;
    entry.layout = source.layout;
    entry.operation = attempt.operation ? std::string(attempt.operation->name) : std::string();
    entry.session = attempt.session;
    entry.inputs = maskedInputs(attempt, secrets);
    if (attempt.call) {
        entry.callText = masked(attempt.call->text, secrets);
        if (attempt.integradorMode && attempt.operation)
            entry.request =
                masked(backend::requestDocument(*attempt.operation, attempt.requestIdentifier,
                                                attempt.call->arguments),
                       secrets);
    }
    if (attempt.executed) {
        // The module echoes secrets: the status answers carry the network passwords, and a
        // given code or password may come back anywhere. Masking keeps every length, so the
        // fields of the kept answer stay where they were.
        entry.answer = masked(attempt.executed->answer, secrets);
        entry.answerCode = core::answerCode(attempt.executed->answer);
        entry.outcome = attempt.operation && entry.answerCode == attempt.operation->busyCode
                            ? Outcome::Busy
                            : Outcome::Answered;
        if (attempt.end == core::CallEnd::LibraryEnded) {
            entry.outcome = Outcome::LibraryCrashed;
            entry.message = entry.answer;
        } else if (attempt.end == core::CallEnd::Cancelled) {
            entry.outcome = Outcome::Cancelled;
        }
        for (const std::string& line : attempt.executed->report)
            entry.report += masked(line, secrets) + "\n";
    } else if (!attempt.refusal.empty()) {
        entry.outcome = Outcome::Refused;
        entry.message = attempt.refusal;
    } else if (attempt.failure) {
        readFailure(attempt, entry);
    } else {
        entry.outcome = Outcome::Unreachable;
    }
    entry.message = masked(entry.message, secrets);
    for (const std::string& path : attempt.files)
        entry.files.push_back({path, fileSha256(core::pathFromUtf8(path))});
    return entry;
}

CallRecorder::CallRecorder(std::filesystem::path journalFile, Retention retention)
    : file_(std::move(journalFile)), retention_(retention) {}

std::vector<std::string> CallRecorder::start() {
    if (journal_)
        return {};
    try {
        journal_ = std::make_unique<Journal>(file_);
        reportedNotice_ = journal_->notice();
        std::vector<std::string> lines;
        if (!reportedNotice_.empty())
            lines.push_back(reportedNotice_);
        journal_->prune(retention_);
        return lines;
    } catch (const std::exception& e) {
        journal_.reset();
        return {"aviso: o histórico " + core::utf8FromPath(file_) + " não pôde ser aberto (" +
                e.what() + ")."};
    }
}

std::vector<std::string> CallRecorder::keep(const core::CallAttempt& attempt,
                                            const CallSource& source) {
    std::vector<std::string> lines = start();
    if (!journal_)
        return lines;
    try {
        journal_->record(entryFor(attempt, source));
        // A file found damaged while writing was set aside and the call kept in a new one.
        if (journal_->notice() != reportedNotice_)
            lines.push_back(journal_->notice());
        reportedNotice_ = journal_->notice();
    } catch (const std::exception& e) {
        journal_.reset();
        lines.push_back("aviso: a chamada não foi guardada no histórico (" + std::string(e.what()) +
                        ").");
    }
    return lines;
}

} // namespace journal
