// The tool folders' file operations on the real file system.
#pragma once

#include "commands/tool_folders.h"

class Win32ToolFolderFiles : public ToolFolderFileSystem {
public:
    bool ReadFirstLine(const std::string& path, std::string& line) override;
    bool CopyFileReplacing(const std::string& from, const std::string& to) override;
    bool RemoveFile(const std::string& path) override;
    void RemoveEmptyDirectory(const std::string& path) override;
    std::string UpperCase(const std::string& text) override;
    void Pause(uint32_t milliseconds) override;
};
