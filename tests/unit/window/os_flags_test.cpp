#include <gtest/gtest.h>

#include "window/os_flags.h"

namespace {

struct OsCase {
    const char* Name;
    uint32_t Version;  // GetVersion: low byte major, next byte minor, high word build/flags
    bool Nt;
    bool W95, W98, Me, Nt5;
};

const OsCase kCases[] = {
    {"Windows 95", 0xC3B60004u, false, true, false, false, false},
    {"Windows 95 minor 9", 0xC0000904u, false, true, false, false, false},
    {"Windows 98", 0xC0000A04u, false, false, true, false, false},
    {"Windows 98 minor 89", 0xC0005904u, false, false, true, false, false},
    {"Windows Me", 0xC0005A04u, false, false, false, true, false},
    {"9x with major 3 counts as Me", 0xC0000003u, false, false, false, true, false},
    {"9x with major 5 counts as Me", 0xC0000005u, false, false, false, true, false},
    {"NT 4", 0x05650004u, true, false, false, false, false},
    {"Windows 2000", 0x08930005u, true, false, false, false, true},
    {"Windows XP", 0x0A280105u, true, false, false, false, true},
    {"Server 2003", 0x0ECE0205u, true, false, false, false, true},
    {"Vista", 0x17700006u, true, false, false, false, false},
    {"Windows 8 and later without manifest", 0x23F00206u, true, false, false, false, false},
    {"Windows 10", 0x4A61000Au, true, false, false, false, false},
    // The version bytes alone decide for NT: minor 10 of major 4 must not look like 98.
    {"NT with 98's version bytes", 0x00000A04u, true, false, false, false, false},
};

TEST(OsFlags, FollowsVersionBytesAndPlatform) {
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.Name);
        const OsFlags f = ComputeOsFlags(c.Version, c.Nt);
        EXPECT_EQ(f.Windows95, c.W95);
        EXPECT_EQ(f.Windows98, c.W98);
        EXPECT_EQ(f.WindowsMe, c.Me);
        EXPECT_EQ(f.NT5, c.Nt5);
    }
}

}  // namespace
