// Which Windows family the engine runs on, where window behaviour differs (topmost full screen).
#pragma once

#include <cstdint>

struct OsFlags {
    bool Windows95 = false;
    bool Windows98 = false;
    bool WindowsMe = false;
    bool NT5 = false;
};

// getVersionValue: the value GetVersion returns (low byte major, next byte minor);
// ntPlatform: the platform id is VER_PLATFORM_WIN32_NT.
OsFlags ComputeOsFlags(uint32_t getVersionValue, bool ntPlatform);
