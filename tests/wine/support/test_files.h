// Files and directories for Win32 tests: every test works in its own temporary directory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

// Windows paths (Z:\...) of the build and source trees, from the environment CTest sets.
std::string BinDir();
std::string SourceDir();
std::string BinPath(const std::string& name);
// The Windows path of a directory named by an environment variable (a Unix path is read through
// drive Z:); throws when the variable is not set.
std::string DirFromEnvironment(const char* variable);

// A fresh directory under the system temporary path, removed with everything in it at the end.
class TempDir {
public:
    explicit TempDir(const std::string& tag = "t");
    // The same under another directory (given with a final backslash), such as a test file system.
    TempDir(const std::string& tag, const std::string& parent);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return path_; }  // with a final backslash
    std::string File(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

std::vector<uint8_t> ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
void WriteTextFile(const std::string& path, const std::string& text);
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// Paths relative to dir of every file and directory below it ("sub\\file"), sorted.
std::vector<std::string> ListTree(const std::string& dir);
void RemoveTree(const std::string& dir);

// A file opened without sharing, as a running program holds its own files or another program may
// hold a distributable: nobody else can open, replace or delete it until the end.
class HeldFile {
public:
    explicit HeldFile(const std::string& path);
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    bool Held() const;

private:
    void* handle_;  // a file handle; INVALID_HANDLE_VALUE when the file could not be opened
};

}  // namespace testsupport
