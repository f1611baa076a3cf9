#pragma once
// The steps of "Mostrar" and "Executar" that do not depend on the window, so that the window and
// the command line run an operation the same way.

#include "core/arguments.h"
#include "core/call_text.h"
#include "core/catalogue.h"
#include "core/shared_state.h"

#include <functional>
#include <string>
#include <string_view>

namespace core {

// What "Mostrar" builds for one session number: the call text and the arguments sent.
struct PreparedCall {
    std::string text;
    Arguments arguments;
    // Set when the call can be shown but not made (a value it cannot carry): "Executar" stops
    // with this message once the call is shown, before the module is called.
    std::string unsendable;
};

using Prepare = std::function<PreparedCall(const std::string& sessionNumber)>;
// The page's report: appends the lines after the raw answer line, so that the lines it wrote
// before a failure stay.
using Report = std::function<void(std::string_view answer, Lines& lines)>;

// A report written as a function that returns its lines, in the appending shape.
Report appendingReport(Lines (*report)(std::string_view answer));

// How the last module call ended when the module did not answer it: the library's process ended
// during it (its answer is then the message saying so), or the user cancelled it (its answer is
// then the module's busy answer).
enum class CallEnd { Answered, LibraryEnded, Cancelled };

// What running an operation needs from whoever runs it: the window or the command line.
class ModuleAccess {
public:
    virtual ~ModuleAccess() = default;

    virtual SharedState& state() = 0;
    virtual bool integradorMode() const = 0;
    virtual std::string drawSessionNumber() = 0;

    // In Integrador mode: draws a new request identifier and returns the request preview lines
    // that follow the call text.
    virtual Lines requestPreview(const Operation& operation, const Arguments& arguments) = 0;

    // Calls the module through the active back-end; returns when the answer is there.
    virtual std::string callModule(const Operation& operation, const Arguments& arguments) = 0;
    // How the last callModule ended.
    virtual CallEnd lastCallEnd() const = 0;

    // The current answer document as the Integrador answer block shows it.
    virtual std::string answerDocumentForDisplay() = 0;
};

// What "Analisar" writes when its checks find nothing.
inline constexpr std::string_view analysisOk = "Análise OK.";

struct Shown {
    PreparedCall call;
    Lines commandBox; // the call text, then in Integrador mode the request preview
};

// "Mostrar": draws a session number, keeps it and the call text in the shared state, and
// returns what the command box shows.
Shown mostrar(ModuleAccess& access, const Operation& operation, const Prepare& prepare);

struct Executed {
    std::string answer;         // the answer's bytes, also kept in the shared state
    std::string answerDocument; // the Integrador answer block's document; empty in library mode
    Lines report;               // what the report wrote, up to where it failed
    Lines answerBox;            // what the answer box shows
};

// The steps of "Executar" after its "Mostrar": the module call with the arguments shown (its
// session number then counts as the last one sent), the report under its guard (a report that fails
// ends there, silently, keeping the lines it wrote), and the answer box, where a cancelled call's
// answer is followed by cancelledCallLine. An exception of the module call is passed on; an
// unsendable call throws std::invalid_argument with its message instead.
Executed executar(ModuleAccess& access, const Operation& operation, const PreparedCall& call,
                  const Report& report);

} // namespace core
