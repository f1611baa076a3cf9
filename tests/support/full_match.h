#pragma once
// A gmock matcher for a whole text against an ECMAScript regular expression. GoogleTest's own
// MatchesRegex uses its simple regex on Windows, which has no {n} repetition.

#include <gmock/gmock.h>

#include <regex>
#include <string>

namespace test_support {

MATCHER_P(FullyMatches, pattern, "fully matches " + std::string(pattern)) {
    return std::regex_match(std::string(arg), std::regex(pattern));
}

} // namespace test_support
