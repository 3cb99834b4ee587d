// The cleanup's file steps against real files, including files another handle keeps open, as the
// desktop process keeps the hook library loaded under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "engine/win32/cleanup_files.h"
#include "support/test_files.h"

namespace {

using testsupport::DirectoryExists;
using testsupport::FileExists;
using testsupport::TempDir;
using testsupport::WriteTextFile;

// Holds a file open without sharing deletion, as a loaded library is held.
class LockedFile {
public:
    explicit LockedFile(const std::string& path)
        : handle_(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~LockedFile() { Release(); }
    void Release() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

constexpr char kSessionManagerKey[] = "System\\CurrentControlSet\\Control\\Session Manager";
constexpr char kPendingRenames[] = "PendingFileRenameOperations";

// The multi-string entries of the pending rename list (source and target alternate).
std::vector<std::string> PendingRenames() {
    std::vector<std::string> entries;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManagerKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return entries;
    DWORD size = 0;
    if (RegQueryValueExA(key, kPendingRenames, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS && size > 0) {
        std::vector<char> data(size + 2, '\0');
        if (RegQueryValueExA(key, kPendingRenames, nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()), &size) ==
            ERROR_SUCCESS) {
            for (size_t at = 0; at < size && data[at];) {
                std::string entry(&data[at]);
                at += entry.size() + 1;
                entries.push_back(entry);
                if (at < size && !data[at]) {  // an empty target follows a deletion
                    entries.push_back("");
                    ++at;
                }
            }
        }
    }
    RegCloseKey(key);
    return entries;
}

// Takes this test's entry out of the list again so the prefix does not collect them.
void ForgetPendingDeletion(const std::string& path) {
    const std::vector<std::string> entries = PendingRenames();
    std::string kept;
    for (size_t i = 0; i + 1 < entries.size(); i += 2) {
        if (entries[i].find(path.substr(2)) != std::string::npos) continue;
        kept += entries[i] + '\0' + entries[i + 1] + '\0';
    }
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManagerKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    if (kept.empty())
        RegDeleteValueA(key, kPendingRenames);
    else {
        kept += '\0';
        RegSetValueExA(key, kPendingRenames, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(kept.data()),
                       static_cast<DWORD>(kept.size()));
    }
    RegCloseKey(key);
}

bool PendingDeletionListed(const std::string& path) {
    // Entries are stored as "\??\" + the full path.
    for (const std::string& entry : PendingRenames())
        if (entry.size() >= path.size() && _stricmp(entry.c_str() + entry.size() - path.size(), path.c_str()) == 0)
            return true;
    return false;
}

TEST(CleanupFiles, HookLibraryDeletedAtOnceWhenFree) {
    TempDir dir("hooklib_free");
    WriteTextFile(dir.File("quenbyrun0.dll"), "library");
    const DWORD start = GetTickCount();
    DeleteHookLibraryFile(dir.File("quenbyrun0.dll"));
    EXPECT_FALSE(FileExists(dir.File("quenbyrun0.dll")));
    EXPECT_LT(GetTickCount() - start, 500u) << "no retry pause for a free file";
    EXPECT_FALSE(PendingDeletionListed(dir.File("quenbyrun0.dll")));
}

TEST(CleanupFiles, LockedHookLibraryIsScheduledForTheNextStart) {
    TempDir dir("hooklib_locked");
    const std::string library = dir.File("quenbyrun0.dll");
    WriteTextFile(library, "library");
    LockedFile lock(library);
    ASSERT_TRUE(lock.IsOpen());
    const DWORD start = GetTickCount();
    DeleteHookLibraryFile(library);
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_TRUE(FileExists(library));
    EXPECT_GE(elapsed, 2 * 555u - 50) << "three attempts 555 ms apart";
    EXPECT_TRUE(PendingDeletionListed(library)) << "MoveFileExA(MOVEFILE_DELAY_UNTIL_REBOOT) wrote no entry";
    ForgetPendingDeletion(library);
}

TEST(CleanupFiles, DatFilesGoOthersStay) {
    TempDir dir("dat");
    WriteTextFile(dir.File("score.dat"), "1");
    WriteTextFile(dir.File("SAVE.DAT"), "2");
    WriteTextFile(dir.File("movie.swf"), "3");
    WriteTextFile(dir.File("data.dat.txt"), "4");
    DeleteDatFiles(dir.Path());
    EXPECT_FALSE(FileExists(dir.File("score.dat")));
    EXPECT_FALSE(FileExists(dir.File("SAVE.DAT")));
    EXPECT_TRUE(FileExists(dir.File("movie.swf")));
    EXPECT_TRUE(FileExists(dir.File("data.dat.txt")));
}

TEST(CleanupFiles, EmptyWorkingDirectoryRemoved) {
    TempDir parent("workdir_empty");
    const std::string workDir = parent.File("Obl_Rt") + "\\";
    ASSERT_TRUE(CreateDirectoryA(parent.File("Obl_Rt").c_str(), nullptr));
    RemoveWorkingDirectory(workDir);
    EXPECT_FALSE(DirectoryExists(parent.File("Obl_Rt")));
}

TEST(CleanupFiles, WorkingDirectoryWithLeftoversRemovedWithItsTree) {
    TempDir parent("workdir_full");
    const std::string root = parent.File("Obl_Rt");
    ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((root + "\\sub").c_str(), nullptr));
    WriteTextFile(root + "\\left.txt", "x");
    WriteTextFile(root + "\\sub\\deep.txt", "y");
    RemoveWorkingDirectory(root + "\\");
    EXPECT_FALSE(DirectoryExists(root));
}

TEST(CleanupFiles, WorkingDirectoryHoldingALockedFileLeavesTheTempDir) {
    TempDir parent("workdir_locked");
    const std::string root = parent.File("Obl_Rt");
    ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
    WriteTextFile(root + "\\quenbyrun0.dll", "library");
    LockedFile lock(root + "\\quenbyrun0.dll");
    ASSERT_TRUE(lock.IsOpen());
    const DWORD start = GetTickCount();
    RemoveWorkingDirectory(root + "\\");
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_FALSE(DirectoryExists(root)) << "the Recycle Bin fallback left the directory in place";
    EXPECT_LT(elapsed, 5000u);
}

TEST(CleanupFiles, PlacementDirectoriesAndEmptyParentsRemoved) {
    TempDir dir("placements");
    CreateDirectoryA(dir.File("a").c_str(), nullptr);
    CreateDirectoryA(dir.File("a\\b").c_str(), nullptr);
    CreateDirectoryA(dir.File("a\\b\\c").c_str(), nullptr);
    CreateDirectoryA(dir.File("keep").c_str(), nullptr);
    WriteTextFile(dir.File("keep\\file.txt"), "still here");
    CreateDirectoryA(dir.File("outside").c_str(), nullptr);
    RemovePlacementDirectories(dir.Path(), {"a\\b\\c\\", "keep\\"});
    EXPECT_FALSE(DirectoryExists(dir.File("a")));
    EXPECT_TRUE(FileExists(dir.File("keep\\file.txt"))) << "a directory that is not empty stays";
    EXPECT_TRUE(DirectoryExists(dir.File("outside")));
}

}  // namespace
