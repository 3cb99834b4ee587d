#include "window/os_flags.h"

OsFlags ComputeOsFlags(uint32_t getVersionValue, bool ntPlatform) {
    const uint32_t major = getVersionValue & 0xFFu;
    const uint32_t minor = (getVersionValue >> 8) & 0xFFu;
    OsFlags flags;
    flags.Windows95 = !ntPlatform && major == 4 && minor < 10;
    flags.Windows98 = !ntPlatform && !flags.Windows95 && major == 4 && minor < 90;
    // Every other 9x-style system is treated as Me: the newest of that family.
    flags.WindowsMe = !ntPlatform && !flags.Windows95 && !flags.Windows98;
    flags.NT5 = ntPlatform && major == 5;
    return flags;
}
