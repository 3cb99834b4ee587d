#include "support/recycle_bin.h"

#include <windows.h>

#include "support/test_files.h"

namespace testsupport {
namespace {

constexpr char kInfoSuffix[] = ".trashinfo";

// "<home>\.local\share\Trash\", from the home directory Wine names in WINEHOMEDIR ("\??\Z:\root").
std::string TrashFolder() {
    char home[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("WINEHOMEDIR", home, sizeof home);
    if (length == 0 || length >= sizeof home) return std::string();
    std::string path(home, length);
    if (path.compare(0, 4, "\\??\\") == 0) path.erase(0, 4);
    return path + "\\.local\\share\\Trash\\";
}

// The last part of a Windows directory path: the temporary directories of tests have unique names.
std::string LastPart(std::string directory) {
    while (!directory.empty() && directory.back() == '\\') directory.pop_back();
    return directory.substr(directory.find_last_of('\\') + 1);
}

}  // namespace

bool RecycleBinReadable() {
    const std::string trash = TrashFolder();
    return !trash.empty() && DirectoryExists(trash + "info");
}

std::vector<std::string> RecycledFrom(const std::string& directory) {
    std::vector<std::string> items;
    const std::string trash = TrashFolder();
    if (trash.empty() || LastPart(directory).empty()) return items;
    const std::string wanted = "/" + LastPart(directory) + "/";
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((trash + "info\\*" + kInfoSuffix).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return items;
    do {
        const std::vector<uint8_t> bytes = ReadFileBytes(trash + "info\\" + found.cFileName);
        const std::string text(bytes.begin(), bytes.end());
        const size_t path = text.find("Path=");
        if (path != std::string::npos && text.find(wanted, path) != std::string::npos) {
            const std::string name = found.cFileName;
            items.push_back(name.substr(0, name.size() - (sizeof kInfoSuffix - 1)));
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return items;
}

void EmptyRecycledFrom(const std::string& directory) {
    const std::string trash = TrashFolder();
    for (const std::string& item : RecycledFrom(directory)) {
        const std::string stored = trash + "files\\" + item;
        RemoveTree(stored);
        DeleteFileA(stored.c_str());
        // The info file reserves the item's name: the system's trash takes the first name without
        // one and cannot move a directory onto a leftover of the same name. So it goes only with
        // the item (a library another process still maps keeps both).
        if (GetFileAttributesA(stored.c_str()) == INVALID_FILE_ATTRIBUTES)
            DeleteFileA((trash + "info\\" + item + kInfoSuffix).c_str());
    }
}

}  // namespace testsupport
