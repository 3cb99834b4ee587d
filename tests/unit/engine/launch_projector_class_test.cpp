#include "engine/projector_window_class.h"

#include <gtest/gtest.h>

TEST(ProjectorWindowClass, ComparedInLowerCase) {
    const struct {
        const char* name;
        bool expected;
    } cases[] = {
        {"ShockwaveFlash", true},  {"shockwaveflash", true}, {"SHOCKWAVEFLASH", true},
        {"ShockwaveFlash ", false}, {"ShockwaveFlashPlayer", false}, {"Shockwave", false}, {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsProjectorWindowClass(c.name), c.expected) << c.name;
}
