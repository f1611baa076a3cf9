#include "access/whole_file.h"

#include "core/disk_sync.h"

#include <fstream>

namespace backend {

bool writeFileWhole(const std::filesystem::path& target, std::string_view bytes,
                    std::string& error) {
    std::filesystem::path temporary = target;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (out)
            out.write(bytes.data(), std::streamsize(bytes.size()));
        if (out)
            out.close();
        if (!out || !core::syncToDisk(temporary)) {
            error = "cannot write " + temporary.string();
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, target, ec);
    if (ec) {
        error = "cannot rename " + temporary.string() + ": " + ec.message();
        std::filesystem::remove(temporary, ec);
        return false;
    }
    return true;
}

std::optional<std::string> readFileWithin(const std::filesystem::path& file, std::size_t limit,
                                          std::string& error) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = "Não foi possível abrir o arquivo.";
        return std::nullopt;
    }
    std::string bytes;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.append(buffer, std::size_t(in.gcount()));
        if (bytes.size() > limit) {
            error = "O arquivo excede o limite de " + std::to_string(limit) + " bytes.";
            return std::nullopt;
        }
    }
    if (in.bad()) {
        error = "Não foi possível ler o arquivo.";
        return std::nullopt;
    }
    return bytes;
}

} // namespace backend
