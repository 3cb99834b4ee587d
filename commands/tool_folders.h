// Tool folders: each tool directory that the extraction made gets a copy of its tool's executable
// and of the satellites its "vtools.ini" asks for; at shutdown all of it goes again. Portable over
// ToolFolderFileSystem.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "payload/file_placement.h"

class ToolFolderFileSystem {
public:
    virtual ~ToolFolderFileSystem() = default;
    // The file's first line; false when it cannot be read or holds no line at all.
    virtual bool ReadFirstLine(const std::string& path, std::string& line) = 0;
    // Copies, replacing an existing target; false on failure.
    virtual bool CopyFileReplacing(const std::string& from, const std::string& to) = 0;
    virtual bool RemoveFile(const std::string& path) = 0;
    virtual void RemoveEmptyDirectory(const std::string& path) = 0;
    // Upper case by the system's rules for its code page.
    virtual std::string UpperCase(const std::string& text) = 0;
    virtual void Pause(uint32_t milliseconds) = 0;
};

constexpr int kToolFileDeleteTries = 22;
constexpr uint32_t kToolFileDeletePauseMs = 111;

// The tool name of a "vtools.ini" first line ("[" + name + "]"); false when the line names none,
// or names one that could make a path leave the tool directory (separators, colons, "..").
bool ToolNameFromLine(const std::string& line, std::string& name);

// Fills each tool directory of toolDirs (entries ending in "\") and appends every copy's path.
// targetDir is the working directory with its final "\".
void PrepareToolDirs(ToolFolderFileSystem& fs, const std::string& targetDir, const std::vector<ToolFileEntry>& toolFiles,
                     std::vector<std::string>& toolDirs);

// Deletes the tool directories' files and the directories (last to first), then the tool files.
void RemoveToolFiles(ToolFolderFileSystem& fs, const std::vector<ToolFileEntry>& toolFiles,
                     const std::vector<std::string>& toolDirs);
