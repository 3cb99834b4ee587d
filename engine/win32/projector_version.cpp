#include "engine/win32/projector_version.h"

#include <windows.h>

#include <vector>

#include "engine/projector_version_rule.h"

bool ProjectorIsVersion6OrLater(const std::string& path) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0) return false;
    std::vector<char> buffer(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, buffer.data())) return false;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    char root[] = "\\";
    if (!VerQueryValueA(buffer.data(), root, reinterpret_cast<void**>(&info), &length) || !info ||
        length < sizeof(VS_FIXEDFILEINFO))
        return false;
    return IsVersion6OrLater(info->dwProductVersionMS);
}
