#include "support/test_files.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "support/engine_process.h"

namespace testsupport {
namespace {

constexpr DWORD kHeldFilesWaitMs = 5000;

std::string UnixToWindowsPath(const char* unixPath) {
    std::string path = std::string("Z:") + unixPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

void ListTreeInto(const std::string& root, const std::string& relative, std::vector<std::string>& out) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((root + relative + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        out.push_back(relative + name);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ListTreeInto(root, relative + name + "\\", out);
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

std::string SystemTempPath() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    return base;
}

}  // namespace

std::string DirFromEnvironment(const char* variable) {
    const char* value = std::getenv(variable);
    if (!value || !*value) throw std::runtime_error(std::string(variable) + " is not set; run the tests through ctest");
    return value[0] == '/' ? UnixToWindowsPath(value) : std::string(value);
}

std::string BinDir() { return DirFromEnvironment("STAGEHOST_BIN_DIR"); }
std::string SourceDir() { return DirFromEnvironment("STAGEHOST_SOURCE_DIR"); }
std::string BinPath(const std::string& name) { return BinDir() + "\\" + name; }

TempDir::TempDir(const std::string& tag) : TempDir(tag, SystemTempPath()) {}

TempDir::TempDir(const std::string& tag, const std::string& parent) {
    static std::atomic<int> counter{0};
    // Process ids come round again soon under Wine: the start time keeps a name from matching
    // what an earlier process left where tests cannot empty it (the Recycle Bin, scheduled
    // deletions), which would count as this test's.
    char stamp[16];
    std::snprintf(stamp, sizeof stamp, "%08lx", static_cast<unsigned long>(GetTickCount()));
    for (;;) {
        path_ = parent + "sh_" + tag + "_" + std::to_string(GetCurrentProcessId()) + "_" +
                std::to_string(counter++) + "_" + stamp + "\\";
        if (CreateDirectoryA(path_.c_str(), nullptr)) return;
        if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot create " + path_);
    }
}

TempDir::~TempDir() {
    RemoveTree(path_);
    // A program that has just ended may hold its files a moment longer (its image most of all):
    // the directory goes as soon as they are free. A file another process keeps for good stays.
    if (DirectoryExists(path_))
        WaitUntil([this] {
            RemoveTree(path_);
            return !DirectoryExists(path_);
        }, kHeldFilesWaitMs);
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open " + path);
    std::vector<uint8_t> bytes(GetFileSize(file, nullptr));
    DWORD read = 0;
    if (!bytes.empty()) ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create " + path);
    DWORD written = 0;
    bool ok = bytes.empty() || WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    if (!ok || written != bytes.size()) throw std::runtime_error("cannot write " + path);
}

void WriteTextFile(const std::string& path, const std::string& text) {
    WriteFileBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

bool FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> ListTree(const std::string& dir) {
    std::string root = dir;
    if (!root.empty() && root.back() != '\\') root += '\\';
    std::vector<std::string> out;
    ListTreeInto(root, "", out);
    std::sort(out.begin(), out.end());
    return out;
}

void RemoveTree(const std::string& dir) {
    std::string root = dir;
    if (!root.empty() && root.back() != '\\') root += '\\';
    std::vector<std::string> entries;
    ListTreeInto(root, "", entries);
    // Deepest first, so directories are empty when their turn comes.
    std::sort(entries.begin(), entries.end(), [](const std::string& a, const std::string& b) { return a > b; });
    for (const std::string& entry : entries) {
        std::string path = root + entry;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!DeleteFileA(path.c_str())) RemoveDirectoryA(path.c_str());
    }
    RemoveDirectoryA(root.c_str());
}

HeldFile::HeldFile(const std::string& path)
    : handle_(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}

HeldFile::~HeldFile() {
    if (Held()) CloseHandle(handle_);
}

bool HeldFile::Held() const { return handle_ != INVALID_HANDLE_VALUE; }

}  // namespace testsupport
