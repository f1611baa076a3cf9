#include "documents/base64.h"

#include <gtest/gtest.h>

namespace {

TEST(DecodeBase64Lenient, AcceptsWhatModulesSendRefusesTheRest) {
    struct Case {
        std::string text;
        std::optional<std::string> bytes;
    };
    const Case cases[] = {
        {"", ""},
        {"TWFu", "Man"},
        {"TWE=", "Ma"},
        {"TQ==", "M"},
        {"TWE", "Ma"},                 // padding missing
        {"TQ", "M"},                   // both "=" missing
        {"TQ=", "M"},                  // one of two missing
        {"TW\r\nFu\n TQ\t==", "ManM"}, // line breaks and blanks inside
        {"+/+/", std::string("\xFB\xFF\xBF", 3)},
        {"TWFu*", std::nullopt},        // outside the alphabet
        {"TW-u", std::nullopt},         // the URL alphabet is not the standard one
        {"TWFuTQ==TWFu", std::nullopt}, // data after the padding
        {"TWFu=", std::nullopt},        // padding where none is due
        {"TQ===", std::nullopt},        // too much padding
        {"TWFuT", std::nullopt},        // a single symbol cannot end a group
        {"TWFu\x01", std::nullopt},     // a control character other than a line break
    };
    for (const Case& c : cases)
        EXPECT_EQ(documents::decodeBase64Lenient(c.text), c.bytes) << c.text;
}

} // namespace
