#pragma once
// The processor a library file was built for, read from its header (the ELF class and machine,
// or the PE header's machine field) without loading it: a process can load only a library of its
// own architecture.

#include <filesystem>
#include <string>

namespace backend {

enum class Architecture {
    Unknown, // not an ELF or PE file, or unreadable: the loader will say why
    X86,
    X86_64,
    Arm64,
    Other, // a known format for a processor not listed
};

Architecture libraryArchitecture(const std::filesystem::path& file);

// The architecture this program was built for.
Architecture programArchitecture();

// "32 bits (x86)", "64 bits (x86-64)", ...
std::string architectureName(Architecture architecture);

// "A biblioteca é de 32 bits (x86) e este programa é de 64 bits (x86-64)." followed by `why`.
std::string architectureMismatchMessage(Architecture library, const std::string& why);

} // namespace backend
