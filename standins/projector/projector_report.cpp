#include "projector_report.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "engine/engine_names.h"
#include "engine/shared_control_block.h"
#include "standins/common/slot_suffix.h"
#include "test_controls.h"

namespace standin {
namespace {

std::string Decimal(const void* handle) { return std::to_string(reinterpret_cast<uintptr_t>(handle)); }

std::string ModulePath() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length < MAX_PATH ? length : 0);
}

std::string CurrentDirectory() {
    char path[MAX_PATH] = {};
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, path);
    return std::string(path, length < MAX_PATH ? length : 0);
}

std::string EnvironmentLines() {
    std::string lines;
    char* block = GetEnvironmentStringsA();
    if (!block) return lines;
    for (const char* entry = block; *entry; entry += std::char_traits<char>::length(entry) + 1)
        lines += std::string("env:") + entry + "\r\n";
    FreeEnvironmentStringsA(block);
    return lines;
}

// Files below dir (with its final "\\"), prefix + name, up to depth more levels of directories.
void CollectFiles(const std::string& dir, const std::string& prefix, int depth, std::vector<std::string>& files) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (depth > 0) CollectFiles(dir + name + "\\", prefix + name + "\\", depth - 1, files);
        } else {
            files.push_back(prefix + name + "=" + std::to_string(found.nFileSizeLow));
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

std::string FileLines() {
    std::vector<std::string> files;
    CollectFiles(CurrentDirectory() + "\\", "", 1, files);
    std::sort(files.begin(), files.end());
    std::string lines;
    for (const std::string& file : files) lines += "file:" + file + "\r\n";
    return lines;
}

std::string MappingNameFromWorkDir() {
    const std::string suffix = SuffixFromWorkDir(EnvironmentText(engine_names::kEnvRootDir));
    return suffix.empty() ? std::string() : BlockMappingName(suffix);
}

// Written beside the target, then renamed over it.
bool ReplaceFile(const std::string& path, const std::string& text) {
    const std::string temporary = path + ".tmp";
    HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool complete = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                          written == text.size();
    CloseHandle(file);
    if (complete && MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    DeleteFileA(temporary.c_str());
    return false;
}

}  // namespace

std::string ProjectorReport::BlockHex() {
    if (!block_) {
        const std::string name = MappingNameFromWorkDir();
        if (name.empty()) return {};
        mapping_.reset(OpenFileMappingA(FILE_MAP_READ, FALSE, name.c_str()));
        if (!mapping_) return {};
        block_.reset(MapViewOfFile(mapping_.get(), FILE_MAP_READ, 0, 0, kSharedViewSize));
        if (!block_) return {};
    }
    static const char digits[] = "0123456789ABCDEF";
    const auto* bytes = static_cast<const volatile uint8_t*>(block_.get());
    std::string hex(2 * kSharedViewSize, '0');
    for (uint32_t i = 0; i < kSharedViewSize; ++i) {
        const uint8_t byte = bytes[i];
        hex[2 * i] = digits[byte >> 4];
        hex[2 * i + 1] = digits[byte & 15];
    }
    return hex;
}

void ProjectorReport::Refresh(const ProjectorView& view) {
    if (!Enabled()) return;
    HWND parent = view.window ? GetAncestor(view.window, GA_PARENT) : nullptr;
    if (parent == GetDesktopWindow()) parent = nullptr;
    RECT client = {};
    if (view.window) GetClientRect(view.window, &client);
    char style[16] = "0x00000000";
    if (view.window) std::snprintf(style, sizeof(style), "0x%08lX", static_cast<unsigned long>(GetWindowLongA(view.window, GWL_STYLE)));

    std::string text;
    text += "pid=" + std::to_string(GetCurrentProcessId()) + "\r\n";
    text += "exe=" + ModulePath() + "\r\n";
    text += "cwd=" + CurrentDirectory() + "\r\n";
    text += "window=" + Decimal(view.window) + "\r\n";
    text += "parent=" + Decimal(parent) + "\r\n";
    text += std::string("style=") + style + "\r\n";
    text += std::string("menu=") + (view.window && GetMenu(view.window) ? "1" : "0") + "\r\n";
    text += "client=" + std::to_string(client.right) + "," + std::to_string(client.bottom) + "\r\n";
    text += "fullscreen_command=" + std::to_string(view.fullScreenCommand) + "\r\n";
    text += "mapping=" + MappingNameFromWorkDir() + "\r\n";
    text += "block=" + BlockHex() + "\r\n";
    text += "sent=" + std::to_string(view.sentCount) + "\r\n";
    text += "last_sent=" + view.lastSent + "\r\n";
    text += "last_answer=" + std::to_string(view.lastAnswer) + "\r\n";
    text += EnvironmentLines();
    text += FileLines();

    if (text != lastWritten_ && ReplaceFile(path_, text)) lastWritten_ = text;
}

}  // namespace standin
