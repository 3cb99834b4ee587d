#include "payload/win32/win32_placement_file_system.h"

#include <windows.h>

#include "engine/win32/handles.h"
#include "payload/engine_error.h"
#include "payload/payload_messages.h"

namespace {

bool IsDirectory(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Length of the part of path that is never created: "C:\", "\\server\share\" or a leading "\".
std::size_t RootLength(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':') return path.size() >= 3 && IsSeparator(path[2]) ? 3 : 2;
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        std::size_t separators = 0;
        for (std::size_t i = 2; i < path.size(); ++i)
            if (IsSeparator(path[i]) && ++separators == 2) return i + 1;
        return path.size();
    }
    return !path.empty() && IsSeparator(path[0]) ? 1 : 0;
}

}  // namespace

bool WindowsPlacementFiles::IsLockedFile(const std::string& path) {
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    return !DeleteFileA(path.c_str());
}

bool WindowsPlacementFiles::CreateDirectoryTree(const std::string& path) {
    std::string target = path;
    while (target.size() > RootLength(target) && IsSeparator(target.back())) target.pop_back();
    for (std::size_t i = RootLength(target); i <= target.size(); ++i) {
        if (i < target.size() && !IsSeparator(target[i])) continue;
        const std::string step = target.substr(0, i);
        if (!step.empty() && !IsSeparator(step.back()) && !IsDirectory(step)) CreateDirectoryA(step.c_str(), nullptr);
    }
    return IsDirectory(target);
}

void WindowsPlacementFiles::CreateSingleDirectory(const std::string& path) { CreateDirectoryA(path.c_str(), nullptr); }

std::string WindowsPlacementFiles::ReadTextFile(const std::string& path) {
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw EngineError(payload_messages::CannotOpenFile(path));
    std::string text;
    char buffer[65536];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr))
            throw EngineError(payload_messages::kStreamReadError);
        if (read == 0) break;
        text.append(buffer, read);
    }
    return text;
}

void WindowsPlacementFiles::RemoveFile(const std::string& path) { DeleteFileA(path.c_str()); }

PlacementFileSystem& Win32PlacementFileSystem() {
    static WindowsPlacementFiles instance;
    return instance;
}
