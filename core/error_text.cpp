#include "core/error_text.h"

#include "core/path_text.h"

#include <filesystem>
#include <new>

namespace core {

std::string errorText(const std::exception& error) {
    if (const auto* file = dynamic_cast<const std::filesystem::filesystem_error*>(&error)) {
        std::string text = "Não foi possível usar ";
        if (file->path1().empty())
            text = "Uma operação com arquivos falhou";
        else
            text += utf8FromPath(file->path1());
        if (!file->path2().empty())
            text += " e " + utf8FromPath(file->path2());
        return text + " (" + file->code().message() + ").";
    }
    if (dynamic_cast<const std::bad_alloc*>(&error))
        return "Memória insuficiente para a operação.";
    return error.what();
}

} // namespace core
