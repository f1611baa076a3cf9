#pragma once
// The words and options of one command line.

#include <map>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// A command line that cannot be run as written: exit status 2, the message on standard error.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Option {
    std::string_view name;  // "--codigo"
    std::string_view value; // the value's name in the help ("CODIGO"); empty for a switch
    std::string_view help;  // one line for the help
};

class CommandLine {
public:
    // Reads `args` (the program name left out) accepting only `options`, each at most once,
    // as "--name value" or "--name=value". Words that are not options are kept in order.
    // Throws UsageError for an unknown option (naming the accepted ones), a repeated or an
    // incomplete one.
    CommandLine(std::span<const std::string> args, std::span<const Option* const> options);

    bool has(std::string_view name) const;
    // The option's value; nullopt when it was not given.
    std::optional<std::string> value(std::string_view name) const;
    const std::vector<std::string>& words() const { return words_; }

private:
    std::map<std::string, std::string, std::less<>> values_;
    std::vector<std::string> words_;
};

// The first word of the line that is neither an option nor the value of one of `valued`; that
// word names the command, so the command's own options may follow it.
std::optional<std::string> commandWord(std::span<const std::string> args,
                                       std::span<const Option* const> valued);

} // namespace cli
