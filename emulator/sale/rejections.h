#pragma once
// The CCCC codes a sale or cancellation is rejected or warned with, and their texts.

#include <string>
#include <string_view>
#include <utility>

namespace emulator {

// A content rejection: the CCCC code, the item it concerns (0 for the whole document) and,
// where the code alone does not say what is wrong, a detail. `ownText` stands instead of the
// code's table text where that text would name the wrong fault.
struct Rejection {
    Rejection(int cccc, int itemNumber = 0, std::string what = {}, std::string text = {})
        : code(cccc), item(itemNumber), detail(std::move(what)), ownText(std::move(text)) {}
    int code;
    int item;
    std::string detail;
    std::string ownText;
};

// The table text of the code with "(N)" turned into the item number ("(3)"); empty for an
// unknown code.
std::string rejectionText(int code, int item = 0);

// What the answer says of a rejection: its text, then its detail after " - ".
std::string rejectionMessage(const Rejection& rejection);

} // namespace emulator
