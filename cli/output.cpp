#include "cli/output.h"

#include "core/text.h"

namespace cli {

void printLines(std::ostream& out, const core::Lines& lines) {
    for (const auto& line : lines)
        out << line << "\n";
    out.flush();
}

void printJson(std::ostream& out, const nlohmann::ordered_json& j) {
    // Text typed on the command line may not be UTF-8; it is shown with replacement characters.
    out << j.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
}

void printError(const Output& o, const std::string& message) {
    o.err << "tarvik: " << core::displayLineBreaks(message) << "\n";
}

} // namespace cli
