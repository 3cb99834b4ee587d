#include "engine/win32/working_directory.h"

#include <shellapi.h>

#include "engine/command_line_args.h"
#include "engine/engine_names.h"
#include "engine/full_temporary_base.h"
#include "engine/win32/cleanup_files.h"
#include "engine/win32/tfrm_main.h"
#include "payload/engine_error.h"
#include "payload/user_settings_values.h"

namespace {

constexpr DWORD kInstanceMutexWaitMs = 5555;
constexpr UINT kSilentDeleteFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;  // 0x414
// A directory made but lost before its claim file existed (only an engine's cleanup without the
// mutex removes an empty directory): tried again this many times.
constexpr int kClaimAttempts = 5;

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

HANDLE CreateClaimFile(const std::string& directory) {
    return CreateFileA((directory + "\\" + engine_names::kWorkDirClaimFile).c_str(), GENERIC_READ | GENERIC_WRITE,
                       0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

bool Acquired(DWORD waited) { return waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED; }

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
        if (!Acquired(waited)) {
            mutex.reset();
            return false;
        }
    }
    MutexOwnership ownership(mutex.get());

    for (int attempts = 0;;) {
        if (CreateDirectoryA(candidate.c_str(), nullptr)) {
            // Claimed before the mutex is given up: from here on no other engine takes it.
            claim.Claim.reset(CreateClaimFile(candidate));
            if (claim.Claim) break;
            RemoveDirectoryA(candidate.c_str());
            if (++attempts >= kClaimAttempts) throw EngineError(engine_names::kCantCreateDir + candidate);
            continue;
        }
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

InstanceMutexHold::InstanceMutexHold() : mutex_(CreateMutexA(nullptr, FALSE, engine_names::kInstanceMutex)) {
    owned_ = mutex_ && Acquired(WaitForSingleObject(mutex_.get(), kInstanceMutexWaitMs));
}

InstanceMutexHold::~InstanceMutexHold() {
    if (owned_) ReleaseMutex(mutex_.get());
}

void ReleaseWorkingDirectoryClaim(const std::string& workDir, UniqueFile& claim) {
    InstanceMutexHold hold;
    claim.reset();  // the claim file goes with its handle
    if (hold.Owned()) {
        RemoveWorkingDirectory(workDir);
        return;
    }
    std::string directory = workDir;
    if (!directory.empty() && directory.back() == '\\') directory.pop_back();
    if (!directory.empty()) RemoveDirectoryA(directory.c_str());
}

std::string SystemTempPath() {
    char buffer[261] = {};
    const DWORD length = GetTempPathA(sizeof buffer, buffer);
    if (length == 0 || length >= sizeof buffer) return std::string();
    return std::string(buffer, length);
}

std::string FullTemporaryBaseOf(UserSettingsStore* store) {
    // The module's own file name is always full, whatever the command line says.
    char program[MAX_PATH + 1] = {};
    const DWORD programLength = GetModuleFileNameA(nullptr, program, sizeof program);
    const std::string programDir =
        WithFinalBackslash(DirectoryPart(std::string(program, programLength < sizeof program ? programLength : 0)));
    const std::string full = FullTemporaryBase(TemporaryBase(store, SystemTempPath()), programDir);
    // "." and ".." steps resolved, so the directory has one spelling wherever it is passed on.
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = GetFullPathNameA(full.c_str(), sizeof buffer, buffer, nullptr);
    if (length == 0 || length >= sizeof buffer) return full;
    return WithFinalBackslash(std::string(buffer, length));
}

bool TfrmMain::SelectWorkingDirectory() {
    WorkingDirectoryClaim claim;
    if (!ClaimWorkingDirectory(FullTemporaryBaseOf(UserSettings.get()), InstanceMutex, claim))
        return false;
    SlotNumber = claim.SlotNumber;
    SlotSuffix = claim.SlotSuffix;
    WorkDir = claim.WorkDir;
    WorkDirClaim = std::move(claim.Claim);
    return true;
}

void TfrmMain::ReleaseWorkingDirectory() {
    if (WorkDirClaim) ReleaseWorkingDirectoryClaim(WorkDir, WorkDirClaim);
}
