// What the file placement policy and the settings loader need from the file system. Portable: the
// engine uses the Win32 implementation (payload/win32/win32_placement_file_system.h), tests a fake.
#pragma once

#include <string>

class PlacementFileSystem {
public:
    virtual ~PlacementFileSystem() = default;

    // True when a file exists at path and an attempt to delete it failed (it is in use). A file
    // that could be deleted is gone afterwards.
    virtual bool IsLockedFile(const std::string& path) = 0;
    // Creates path with every missing parent; false when it could not be made.
    virtual bool CreateDirectoryTree(const std::string& path) = 0;
    // Creates one directory; failure (it exists, say) is ignored.
    virtual void CreateSingleDirectory(const std::string& path) = 0;
    // The whole file; throws EngineError("Cannot open file " + path) when it cannot be read.
    virtual std::string ReadTextFile(const std::string& path) = 0;
    // Deletes a file; failure is ignored.
    virtual void RemoveFile(const std::string& path) = 0;
};
