#include "commands/win32/win32_tool_folder_files.h"

#include <windows.h>

#include <vector>

namespace {

// A settings file's first line is short; more than this is not read.
constexpr DWORD kFirstLineReadLimit = 64 * 1024;

}  // namespace

bool Win32ToolFolderFiles::ReadFirstLine(const std::string& path, std::string& line) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::vector<char> buffer(kFirstLineReadLimit);
    DWORD read = 0;
    const bool ok = ReadFile(file, buffer.data(), kFirstLineReadLimit, &read, nullptr) != FALSE;
    CloseHandle(file);
    if (!ok || read == 0) return false;  // no line at all
    const std::string text(buffer.data(), read);
    line = text.substr(0, text.find_first_of("\r\n"));
    return true;
}

bool Win32ToolFolderFiles::CopyFileReplacing(const std::string& from, const std::string& to) {
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
}

bool Win32ToolFolderFiles::RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != FALSE; }

void Win32ToolFolderFiles::RemoveEmptyDirectory(const std::string& path) { RemoveDirectoryA(path.c_str()); }

std::string Win32ToolFolderFiles::UpperCase(const std::string& text) {
    std::string upper = text;
    if (!upper.empty()) CharUpperBuffA(&upper[0], static_cast<DWORD>(upper.size()));
    return upper;
}

void Win32ToolFolderFiles::Pause(uint32_t milliseconds) { Sleep(milliseconds); }
