// Choosing the working directory and instance slot, and holding it: the free functions behind
// TfrmMain::SelectWorkingDirectory and TfrmMain::ReleaseWorkingDirectory, usable without a main
// object.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "engine/win32/handles.h"

class UserSettingsStore;

// True when F can be opened for reading and writing with no sharing (existing files only).
bool IsFileFree(const std::string& path);

// True when no file anywhere in the tree at path is in use. A plain file at path counts too.
bool IsDirectoryFree(const std::string& path);

struct WorkingDirectoryClaim {
    std::string WorkDir;  // full, with its final "\"
    int32_t SlotNumber = 0;
    std::string SlotSuffix;
    // Open without sharing, in the new directory, from the moment it is created: IsDirectoryFree
    // of every other engine sees the directory as in use even before anything else in it is. The
    // file goes away with its handle, also when the engine is killed.
    UniqueFile Claim;
};

// Under the machine-wide instance mutex, creates and claims the first free base + "Obl_Rt"[n]
// directory, deleting a leftover one that nothing holds open. base is full (FullTemporaryBase).
// The mutex handle lives in `mutex` while it is held; ownership is given up and the handle closed
// on every way out, so other engines can claim their own slots while this one runs. Returns false
// when the mutex wait fails; throws EngineError("Can't create dir " + candidate) when a directory
// cannot be created or claimed.
bool ClaimWorkingDirectory(const std::string& base, UniqueHandle& mutex, WorkingDirectoryClaim& claim);

// Gives the claim up and removes the working directory (workDir ends with "\"). Under the
// instance mutex, so that no engine can choose the directory between the two: the whole tree
// goes, as the cleanup's last step does. Without the mutex only an empty directory is removed,
// since the name may already be another engine's.
void ReleaseWorkingDirectoryClaim(const std::string& workDir, UniqueFile& claim);

// The machine-wide instance mutex, owned for the life of the object when the bounded wait gets
// it (Owned()); otherwise the holder goes on without it.
class InstanceMutexHold {
public:
    InstanceMutexHold();
    ~InstanceMutexHold();
    InstanceMutexHold(const InstanceMutexHold&) = delete;
    InstanceMutexHold& operator=(const InstanceMutexHold&) = delete;
    bool Owned() const { return owned_; }

private:
    UniqueHandle mutex_;
    bool owned_ = false;
};

// The system temporary path (GetTempPathA, 261-character buffer); empty when GetTempPathA fails
// or the path does not fit.
std::string SystemTempPath();

// The temporary base of this run, full: the per-user value or the system path, completed from
// the program's directory (FullTemporaryBase) and normalised. The settings pass and the working
// directory both use it.
std::string FullTemporaryBaseOf(UserSettingsStore* store);
