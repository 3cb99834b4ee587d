#include "engine/win32/cleanup_files.h"

#include <windows.h>
#include <shellapi.h>

#include "engine/placement_dir_removal.h"
#include "engine/win32/message_pump.h"

namespace {

constexpr int kHookLibraryDeleteAttempts = 3;
constexpr DWORD kHookLibraryRetryPauseMs = 555;
constexpr DWORD kDirectoryRetryMs = 1111;
constexpr DWORD kDirectoryRetryPauseMs = 111;
constexpr FILEOP_FLAGS kQuietDelete = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;  // 0x414

// SHFileOperationA FO_DELETE on one path (wildcards allowed); true when it reports success.
bool ShellDelete(const std::string& path, FILEOP_FLAGS flags) {
    std::string from = path;
    from.push_back('\0');  // the list ends with a second NUL
    SHFILEOPSTRUCTA operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = flags;
    return SHFileOperationA(&operation) == 0;
}

}  // namespace

void DeleteHookLibraryFile(const std::string& path) {
    for (int attempt = 1; attempt <= kHookLibraryDeleteAttempts; ++attempt) {
        if (DeleteFileA(path.c_str())) return;
        if (attempt < kHookLibraryDeleteAttempts)
            Sleep(kHookLibraryRetryPauseMs);
        else
            MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
        PumpMessages();
    }
}

void DeleteDatFiles(const std::string& workDir) { ShellDelete(workDir + "*.dat", kQuietDelete); }

void RemoveWorkingDirectory(const std::string& workDir) {
    std::string directory = workDir;
    if (!directory.empty() && directory.back() == '\\') directory.pop_back();
    if (directory.empty() || RemoveDirectoryA(directory.c_str())) return;
    const DWORD start = GetTickCount();
    for (;;) {
        if (ShellDelete(directory, kQuietDelete)) return;
        Sleep(kDirectoryRetryPauseMs);
        if (GetTickCount() - start > kDirectoryRetryMs) break;  // unsigned: right across the wrap
    }
    ShellDelete(directory, kQuietDelete | FOF_ALLOWUNDO);
}

void RemovePlacementDirectories(const std::string& workDir, const std::vector<std::string>& placementDirs) {
    for (const std::string& relative : PlacementDirRemovalOrder(placementDirs))
        RemoveDirectoryA((workDir + relative).c_str());
}
