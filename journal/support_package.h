#pragma once
// The support package: one zip a technician hands to a help desk, holding the chosen calls as
// JSON lines (chamadas.jsonl), the files they wrote that still hold what was written
// (arquivos/<call id>/<name>, network passwords masked), and a summary (resumo.json): program
// version, operating system, the libraries or Integrador folders used, and the module's serial
// number and operation state as the journal last saw them. Like the journal, the zip and its
// entries are readable by their owner alone.

#include "journal/call_entry.h"
#include "journal/journal_file.h"

#include <filesystem>
#include <string>
#include <vector>

namespace journal {

struct PackageContents {
    std::size_t calls = 0;
    std::size_t files = 0;            // files put in the package
    std::vector<std::string> leftOut; // "path: why", for files missing or changed since
};

// Writes the package of `calls` to `zipFile`, replacing it; throws std::runtime_error when it
// cannot be written.
PackageContents writeSupportPackage(Journal& journal, const std::vector<CallEntry>& calls,
                                    const std::filesystem::path& zipFile);

// The operating system's name and version, for the summary.
std::string operatingSystem();

} // namespace journal
