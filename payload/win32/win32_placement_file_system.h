// The placement policy's and the settings loader's file system on Windows.
#pragma once

#include "payload/placement_file_system.h"

class WindowsPlacementFiles : public PlacementFileSystem {
public:
    bool IsLockedFile(const std::string& path) override;
    bool CreateDirectoryTree(const std::string& path) override;
    void CreateSingleDirectory(const std::string& path) override;
    std::string ReadTextFile(const std::string& path) override;
    void RemoveFile(const std::string& path) override;
};

// The one instance the engine uses (it has no state).
PlacementFileSystem& Win32PlacementFileSystem();
