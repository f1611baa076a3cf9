#include "core/base64.h"
#include "tests/documents/base64_encoder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct Case {
    const char* name;
    std::string text;
    std::optional<std::string> bytes; // nullopt: refused
};

const Case cases[] = {
    {"empty", "", std::string()},
    {"padded", "PENGZT7DpzwvQ0ZlPg==", std::string("<CFe>\xc3\xa7</CFe>")},
    {"two pads", "YQ==", std::string("a")},
    {"no padding needed", "YWJj", std::string("abc")},
    {"one pad missing", "YWI", std::string("ab")},
    {"two pads missing", "YQ", std::string("a")},
    {"CR LF inside", "YWJj\r\nZGVm\r\n", std::string("abcdef")},
    {"lone CR and LF, blanks and tabs", "YW\rJj\nZG Vm\t", std::string("abcdef")},
    {"break inside the padding", "YQ=\r\n=", std::string("a")},
    {"foreign character", "YWJj*ZGVm", std::nullopt},
    {"accented character", "YWJ\xc3\xa7", std::nullopt},
    {"URL alphabet", "YWJj-_", std::nullopt},
    {"data after padding", "YQ==YWJj", std::nullopt},
    {"padding where none is due", "YWJj=", std::nullopt},
    {"too much padding", "YWI==", std::nullopt},
    {"a single character over", "YWJjZ", std::nullopt},
    {"padding alone", "====", std::nullopt},
    {"NUL byte", std::string("YW\0Jj", 5), std::nullopt},
};

TEST(DecodeBase64Lenient, AcceptsWhatModulesSendAndRefusesTheRest) {
    for (const auto& c : cases)
        EXPECT_EQ(core::decodeBase64Lenient(c.text), c.bytes) << c.name;
}

TEST(DecodeBase64Lenient, EveryByteValueRoundTrips) {
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes.push_back(char(i));
    for (std::size_t length : {bytes.size(), bytes.size() - 1, bytes.size() - 2})
        EXPECT_EQ(core::decodeBase64Lenient(documents_test::base64(bytes.substr(0, length))),
                  bytes.substr(0, length))
            << length;
}

} // namespace
