#include "core/workflow.h"

#include "core/text.h"

namespace core {

Lines answerBox(bool integradorMode, std::string_view answerDocumentForDisplay,
                std::string_view answer, const Lines& report) {
    Lines lines;
    if (integradorMode && !answerDocumentForDisplay.empty()) {
        lines.emplace_back(integradorAnswerHeader);
        appendLines(lines, answerDocumentForDisplay);
        lines.emplace_back(integradorAnswerFooter);
    }
    lines.push_back(decodeUtf8(answer));
    lines.insert(lines.end(), report.begin(), report.end());
    return lines;
}

} // namespace core
