#include "access/library_architecture.h"

#include <cstdint>
#include <fstream>

namespace backend {
namespace {

std::uint32_t little(const unsigned char* bytes, int width) {
    std::uint32_t value = 0;
    for (int i = 0; i < width; ++i)
        value |= std::uint32_t(bytes[i]) << (8 * i);
    return value;
}

bool readAt(std::ifstream& in, std::uint32_t offset, unsigned char* out, std::size_t count) {
    in.seekg(offset);
    return bool(in.read(reinterpret_cast<char*>(out), std::streamsize(count)));
}

Architecture elf(std::ifstream& in) {
    unsigned char header[20];
    if (!readAt(in, 0, header, sizeof header))
        return Architecture::Unknown;
    const bool bigEndian = header[5] == 2;
    const std::uint32_t machine =
        bigEndian ? std::uint32_t(header[18]) << 8 | header[19] : little(header + 18, 2);
    switch (machine) {
    case 3: // EM_386
        return Architecture::X86;
    case 62: // EM_X86_64
        return Architecture::X86_64;
    case 183: // EM_AARCH64
        return Architecture::Arm64;
    default:
        return Architecture::Other;
    }
}

Architecture pe(std::ifstream& in) {
    unsigned char offset[4];
    unsigned char header[6];
    if (!readAt(in, 0x3C, offset, 4) || !readAt(in, little(offset, 4), header, sizeof header) ||
        header[0] != 'P' || header[1] != 'E' || header[2] != 0 || header[3] != 0)
        return Architecture::Unknown;
    switch (little(header + 4, 2)) {
    case 0x014C:
        return Architecture::X86;
    case 0x8664:
        return Architecture::X86_64;
    case 0xAA64:
        return Architecture::Arm64;
    default:
        return Architecture::Other;
    }
}

} // namespace

Architecture libraryArchitecture(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    unsigned char magic[4];
    if (!readAt(in, 0, magic, sizeof magic))
        return Architecture::Unknown;
    if (magic[0] == 0x7F && magic[1] == 'E' && magic[2] == 'L' && magic[3] == 'F')
        return elf(in);
    if (magic[0] == 'M' && magic[1] == 'Z')
        return pe(in);
    return Architecture::Unknown;
}

Architecture programArchitecture() {
#if defined(__x86_64__) || defined(_M_X64)
    return Architecture::X86_64;
#elif defined(__i386__) || defined(_M_IX86)
    return Architecture::X86;
#elif defined(__aarch64__) || defined(_M_ARM64)
    return Architecture::Arm64;
#else
    return Architecture::Other;
#endif
}

std::string architectureName(Architecture architecture) {
    switch (architecture) {
    case Architecture::X86:
        return "32 bits (x86)";
    case Architecture::X86_64:
        return "64 bits (x86-64)";
    case Architecture::Arm64:
        return "64 bits (ARM64)";
    case Architecture::Other:
        return "outra arquitetura";
    case Architecture::Unknown:
        break;
    }
    return "arquitetura desconhecida";
}

std::string architectureMismatchMessage(Architecture library, const std::string& why) {
    return "A biblioteca é de " + architectureName(library) + " e este programa é de " +
           architectureName(programArchitecture()) + ". " + why;
}

} // namespace backend
