#include "engine/win32/working_directory.h"

#include <shellapi.h>

#include "engine/engine_names.h"
#include "engine/win32/tfrm_main.h"
#include "payload/engine_error.h"
#include "payload/user_settings_values.h"

namespace {

constexpr DWORD kInstanceMutexWaitMs = 5555;
constexpr UINT kSilentDeleteFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;  // 0x414

std::string DirectoryPartOf(const std::string& pattern) {
    const size_t slash = pattern.find_last_of('\\');
    return slash == std::string::npos ? std::string() : pattern.substr(0, slash + 1);
}

// Examines every match of the search pattern; sub-directories are searched with "\*.*".
bool IsTreeFree(const std::string& pattern) {
    WIN32_FIND_DATAA found;
    UniqueFind search(FindFirstFileA(pattern.c_str(), &found));
    if (!search) return true;
    const std::string directory = DirectoryPartOf(pattern);
    bool free = true;
    do {
        if (found.cFileName[0] == '.') continue;
        const std::string path = directory + found.cFileName;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            free = IsTreeFree(path + "\\*.*");
        else
            free = IsFileFree(path);
    } while (free && FindNextFileA(search.get(), &found));
    return free;
}

bool DeleteTree(const std::string& path) {
    std::string source = path;
    source.push_back('\0');  // a list of one name: ends with a second NUL after c_str's
    SHFILEOPSTRUCTA operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = source.c_str();
    operation.fFlags = static_cast<FILEOP_FLAGS>(kSilentDeleteFlags);
    if (SHFileOperationA(&operation) != 0) return false;
    // A delete reported as done while the name is still there would send the loop round the
    // same candidate for ever; count it as a failed delete instead.
    return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

// Gives up ownership of the instance mutex on every way out of the selection.
class MutexOwnership {
public:
    explicit MutexOwnership(HANDLE mutex) : mutex_(mutex) {}
    ~MutexOwnership() { Release(); }
    void Release() {
        if (mutex_) ReleaseMutex(mutex_);
        mutex_ = nullptr;
    }
    MutexOwnership(const MutexOwnership&) = delete;
    MutexOwnership& operator=(const MutexOwnership&) = delete;

private:
    HANDLE mutex_;
};

}  // namespace

bool IsFileFree(const std::string& path) {
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file);
}

bool IsDirectoryFree(const std::string& path) { return IsTreeFree(path); }

bool ClaimWorkingDirectory(const std::string& base, UniqueHandle& mutex,
                           WorkingDirectoryClaim& claim) {
    int32_t slot = 0;
    std::string candidate = WorkDirCandidate(base, slot);

    mutex.reset(CreateMutexA(nullptr, FALSE, engine_names::kInstanceMutex));
    if (mutex) {
        const DWORD waited = WaitForSingleObject(mutex.get(), kInstanceMutexWaitMs);
        if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) return false;
    }
    MutexOwnership ownership(mutex.get());

    for (;;) {
        if (CreateDirectoryA(candidate.c_str(), nullptr)) break;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            throw EngineError(engine_names::kCantCreateDir + candidate);
        if (IsDirectoryFree(candidate) && DeleteTree(candidate)) continue;
        ++slot;
        candidate = WorkDirCandidate(base, slot);
    }

    claim.SlotNumber = slot;
    claim.SlotSuffix = SlotSuffix(slot);
    ownership.Release();
    mutex.reset();
    claim.WorkDir = candidate + "\\";
    return true;
}

std::string SystemTempPath() {
    char buffer[261] = {};
    const DWORD length = GetTempPathA(sizeof buffer, buffer);
    if (length == 0 || length >= sizeof buffer) return std::string();
    return std::string(buffer, length);
}

bool TfrmMain::SelectWorkingDirectory() {
    WorkingDirectoryClaim claim;
    const std::string base = TemporaryBase(UserSettings.get(), SystemTempPath());
    if (!ClaimWorkingDirectory(base, InstanceMutex, claim)) return false;
    SlotNumber = claim.SlotNumber;
    SlotSuffix = claim.SlotSuffix;
    WorkDir = claim.WorkDir;
    return true;
}
