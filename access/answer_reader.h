#pragma once
// One call's look-out for its answer in the Integrador's output folder. Each pass lists the
// ".xml" files and reads those not yet examined in this call or changed since; a file that
// parses and carries the call's identifier (or any error text) is taken. A file that does not
// parse is tried again while it changes; once it has stayed unchanged for two seconds it is
// skipped, and reported once after the call unless it changes into a readable file.

#include <atomic>
#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace backend {

struct SkippedFile {
    std::string name;    // file name within the output folder
    std::string message; // why it could not be read as an answer
};

// The message naming the skipped files, one per line after a heading; empty when there are none.
std::string skippedFilesMessage(const std::vector<SkippedFile>& skipped);

class AnswerReader {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::seconds unparsableGrace{2};

    // `cancelled` ends the wait as the deadline would.
    AnswerReader(std::filesystem::path output, Clock::time_point deadline,
                 const std::atomic<bool>& cancelled);

    // One pass: 0 no answer yet, 1 answer taken (see answer()), 2 deadline reached or cancelled.
    int LeRespostaIntegrador(int identifier);

    // The answer of the file taken: its error text, or else its retorno.
    const std::string& answer() const { return answer_; }
    // The whole text of the last file taken without error text (byte-order mark removed).
    const std::optional<std::string>& answerDocument() const { return answerDocument_; }
    // Files skipped in this call and still unreadable, each once, in the order given up.
    const std::vector<SkippedFile>& skipped() const { return skipped_; }

private:
    enum class State { Examined, Unparsable, Skipped };
    struct Seen {
        std::uintmax_t size;
        std::filesystem::file_time_type modified;
        State state;
        std::string message;
        Clock::time_point unchangedSince;
    };

    // Reads and judges a new or changed file; true when it is taken.
    bool examine(const std::filesystem::path& file, Seen& seen, int identifier);
    void skipIfSettled(const std::string& name, Seen& seen);
    void forgetSkipped(const std::string& name);

    std::filesystem::path output_;
    Clock::time_point deadline_;
    const std::atomic<bool>& cancelled_;
    std::map<std::string, Seen> seen_;
    std::string answer_;
    std::optional<std::string> answerDocument_;
    std::vector<SkippedFile> skipped_;
};

} // namespace backend
