#include "access/atomic_file.h"

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
        if (!out) {
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

} // namespace backend
