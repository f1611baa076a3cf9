#pragma once
// The state every page shares: one instance, owned by the main window.

#include <string>

namespace core {

struct SharedState {
    std::string sessionNumber = "000000";
    // The session number of the last call handed to the module; a "Mostrar" that was not
    // followed by its call does not change it. It is what a lost answer is asked for by.
    std::string sentSessionNumber = "000000";
    std::string callText;
    std::string answer;            // the answer's bytes as received
    std::string requestIdentifier; // drawn in Integrador mode only
    std::string answerDocument;    // text of the last Integrador answer file taken
    std::string libraryName;
    std::string iniPath;
    std::string baseTitle;
};

} // namespace core
