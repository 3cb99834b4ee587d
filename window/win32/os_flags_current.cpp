#include "window/win32/host_window.h"

namespace {

OsFlags ReadOsFlags() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);
    const bool nt = GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
    return ComputeOsFlags(static_cast<uint32_t>(GetVersion()), nt);
}

}  // namespace

const OsFlags& CurrentOsFlags() {
    static const OsFlags flags = ReadOsFlags();
    return flags;
}
