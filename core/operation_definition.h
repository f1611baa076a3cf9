#pragma once
// One description per operation, read by both front ends: the window fills its inputs from the
// page's controls, the command line from its options, and both run the same logic.

#include "core/execution.h"

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// A value the user gives an operation: a control of its page, an option of the command line.
struct InputField {
    enum class Kind {
        Text,         // the option's value is the field's text
        Switch,       // a check box; the option takes no value and sets the text "1"
        FileContents, // the option names a file whose bytes become the field's text
    };
    std::string_view key;       // the field's key in Inputs
    std::string_view option;    // the command-line option ("--codigo")
    std::string_view valueName; // the option value's name in the help ("CODIGO")
    std::string_view help;      // one line for the help
    Kind kind = Kind::Text;
};

// What the user gave, as typed (UTF-8), by field key. A field not given reads as empty text, but
// given() tells it from a field given empty (a file option naming an empty file). A page gives
// every field of its controls; the command line gives the options written.
class Inputs {
public:
    void set(std::string_view key, std::string text);
    const std::string& text(std::string_view key) const;
    bool checked(std::string_view key) const { return !text(key).empty(); }
    bool given(std::string_view key) const;

    // The item a page's combo has chosen, beside its text: -1 when the text was typed and is
    // none of the items. The command line chooses none: the logic reads its choice from the text.
    void choose(std::string_view key, int item);
    std::optional<int> chosen(std::string_view key) const;

private:
    std::map<std::string, std::string, std::less<>> values_;
    std::map<std::string, int, std::less<>> items_;
};

// What became of the document an answer with the operation's success code brought back.
struct SavedDocument {
    bool saved = false;
    std::string reason; // why it was not saved; empty when it was
};

// What an operation may use besides its inputs.
struct OperationContext {
    std::filesystem::path programFolder; // returned and generated documents go below it
    std::string layout = "0.07";         // the layout chosen for validation
    const SharedState* state = nullptr;  // the values of the most recent call
};

// One operation's logic bound to one set of inputs; lives for one button action (or one run of
// the command line), so a "Mostrar" and the "Executar" after it share what it remembers.
struct OperationLogic {
    std::function<Lines()> analyse; // "Analisar"; empty when the page has no such button
    Prepare prepare;                // "Mostrar": call text and arguments for a session number
    Report report;                  // the lines after the raw answer line; may be empty
    // "Mostrar" refuses, before a session number is drawn, when this gives a message (shown in
    // red); "Executar" then makes no call. Empty for operations that never refuse.
    std::function<std::optional<std::string>()> refusal;
    // The files the last report wrote (returned documents); empty for operations that write none.
    std::function<std::vector<std::string>()> writtenFiles;
    // The texts of the message boxes the last "Mostrar" or report asked for, in order; taking
    // them empties the list. May be empty for operations that show none.
    std::function<std::vector<std::string>()> takeMessages;
    // The access key of the fiscal document the last report received; empty when none.
    std::function<std::string()> accessKey;
    // Whether the document the last report received with the success code was saved; nullopt
    // when the answer brought none to save. Empty for operations that save nothing.
    std::function<std::optional<SavedDocument>()> savedDocument;
};

struct OperationDefinition {
    const Operation& operation;
    std::span<const InputField> fields;
    OperationLogic (*bind)(const Operation& operation, const Inputs& inputs,
                           const OperationContext& context);
};

} // namespace core
