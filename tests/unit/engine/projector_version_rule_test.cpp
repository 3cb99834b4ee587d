#include "engine/projector_version_rule.h"

#include <gtest/gtest.h>

TEST(ProjectorVersionRule, MajorSixOrMoreCountsAsNewer) {
    const struct {
        uint32_t productVersionMs;
        bool expected;
    } cases[] = {
        {0x00050000, false}, {0x0005FFFF, false}, {0x00060000, true},  {0x00060001, true},
        {0x000A0000, true},  {0x7FFF0000, true},  {0x80000000, false},  // negative as a signed number
        {0xFFFF0000, false}, {0, false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsVersion6OrLater(c.productVersionMs), c.expected) << c.productVersionMs;
}
