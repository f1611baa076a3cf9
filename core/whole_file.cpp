#include "core/whole_file.h"

#include "core/disk_sync.h"
#include "core/path_text.h"

#include <algorithm>
#include <fstream>

namespace core {

bool writeFileWhole(const std::filesystem::path& target, std::string_view bytes, std::string& error,
                    FlushToDisk flush) {
    std::filesystem::path temporary = target;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (out)
            out.write(bytes.data(), std::streamsize(bytes.size()));
        if (out)
            out.close();
        if (!out || (flush == FlushToDisk::Yes && !core::syncToDisk(temporary))) {
            error = "cannot write " + core::utf8FromPath(temporary);
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, target, ec);
    if (ec) {
        error = "cannot rename " + core::utf8FromPath(temporary) + ": " + ec.message();
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
    // One read when the file is as long as it says; never more than one byte over the limit.
    std::error_code ec;
    const std::uintmax_t expected = std::filesystem::file_size(file, ec);
    std::size_t chunk =
        ec ? std::size_t{65536}
           : static_cast<std::size_t>(std::min<std::uintmax_t>(expected, limit)) + 1;
    std::string bytes;
    while (in) {
        const std::size_t have = bytes.size();
        const std::size_t room = limit - have;
        if (room < chunk)
            chunk = room + 1;
        bytes.resize(have + chunk);
        in.read(bytes.data() + have, static_cast<std::streamsize>(chunk));
        bytes.resize(have + static_cast<std::size_t>(in.gcount()));
        if (bytes.size() > limit) {
            error = "O arquivo excede o limite de " + std::to_string(limit) + " bytes.";
            return std::nullopt;
        }
        chunk = 65536;
    }
    if (in.bad()) {
        error = "Não foi possível ler o arquivo.";
        return std::nullopt;
    }
    return bytes;
}

} // namespace core
