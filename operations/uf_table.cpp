#include "operations/uf_table.h"

#include <algorithm>
#include <string>

namespace operations {
namespace {

constexpr Uf ufs[] = {{"AC", "12"}, {"AL", "27"}, {"AM", "13"}, {"AP", "16"}, {"BA", "29"},
                      {"CE", "23"}, {"DF", "53"}, {"ES", "32"}, {"GO", "52"}, {"MA", "21"},
                      {"MG", "31"}, {"MS", "50"}, {"MT", "51"}, {"PA", "15"}, {"PB", "25"},
                      {"PE", "26"}, {"PI", "22"}, {"PR", "41"}, {"RJ", "33"}, {"RN", "24"},
                      {"RO", "11"}, {"RR", "14"}, {"RS", "43"}, {"SC", "42"}, {"SE", "28"},
                      {"SP", "35"}, {"TO", "17"}};

constexpr int lastCode = 53;

} // namespace

std::span<const Uf> ufTable() {
    return ufs;
}

std::optional<std::string_view> ufByCode(int code) {
    if (code < 0 || code > lastCode)
        return std::nullopt;
    const std::string text = std::to_string(code);
    const auto it = std::find_if(std::begin(ufs), std::end(ufs),
                                 [&](const Uf& uf) { return uf.codigo == text; });
    return it == std::end(ufs) ? std::string_view("00") : it->sigla;
}

} // namespace operations
