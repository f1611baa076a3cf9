#pragma once
// Text folded for a search in Portuguese, where "café" finds "CAFÉ" and "PANIFICAÇÃO" finds
// "Panificação": letters in lower case, the Latin-1 and Latin Extended-A letters of UTF-8 without
// their diacritics ("ç" is "c", "Æ" is "ae", "ß" is "ss"). Every other byte, an invalid one
// included, stands for itself, so any bytes fold without failing.

#include <string>
#include <string_view>

namespace journal {

// `text` folded into `out`, which is emptied first (a caller folding many texts reuses it).
void foldForSearch(std::string_view text, std::string& out);

std::string foldedForSearch(std::string_view text);

} // namespace journal
