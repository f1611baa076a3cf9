#include "network/address_checks.h"

#include <gtest/gtest.h>

namespace {

TEST(AddressChecks, FormatAndPrivateRange) {
    const struct {
        const char* text;
        bool address; // TesteIPs gives 0
        bool privateRange;
    } cases[] = {
        {"192.168.001.010", true, true},
        {"010.000.000.001", true, true},
        {"011.000.000.001", true, false}, // an address, outside the private prefixes
        {"172.031.000.001", true, true},
        {"172.200.000.001", true, true}, // only the prefix is looked at
        {"255.255.255.255", true, false},
        {"000.000.000.000", true, false},
        {"192.168.1.10", false, true}, // groups not padded
        {"10.0.0.1", false, false},
        {"172.300.001.001", false, true}, // a group above 255
        {"256.000.000.000", false, false},
        {"192.168.0a1.010", false, true},  // a letter inside a group
        {"192.168.001.0100", false, true}, // 16 characters
        {"10.000.000.0001", false, false}, // 15 characters, dots out of place
        {"192-168-001-010", false, false},
        {" 92.168.001.010", false, false},
        {"", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(network::TesteIPs(c.text) == 0, c.address) << '"' << c.text << '"';
        EXPECT_EQ(network::rfc1918(c.text), c.privateRange) << '"' << c.text << '"';
    }
}

} // namespace
