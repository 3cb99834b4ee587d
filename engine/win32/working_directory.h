// Choosing the working directory and instance slot: the free functions behind
// TfrmMain::SelectWorkingDirectory, usable without a main object.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "engine/win32/handles.h"

// True when F can be opened for reading and writing with no sharing (existing files only).
bool IsFileFree(const std::string& path);

// True when no file anywhere in the tree at path is in use. A plain file at path counts too.
bool IsDirectoryFree(const std::string& path);

struct WorkingDirectoryClaim {
    std::string WorkDir;  // with its final "\"
    int32_t SlotNumber = 0;
    std::string SlotSuffix;
};

// Under the machine-wide instance mutex, creates the first free base + "Obl_Rt"[n] directory,
// deleting a leftover one that nothing holds open. The mutex handle lives in `mutex` while it is
// held and is closed before returning normally; ownership is given up on every way out, so other
// engines can claim their own slots while this one runs. Returns false when the mutex wait fails;
// throws EngineError("Can't create dir " + candidate) when a directory cannot be created.
bool ClaimWorkingDirectory(const std::string& base, UniqueHandle& mutex,
                           WorkingDirectoryClaim& claim);

// The system temporary path (GetTempPathA, 261-character buffer).
std::string SystemTempPath();

