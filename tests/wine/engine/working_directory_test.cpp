#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "engine/win32/working_directory.h"
#include "payload/engine_error.h"
#include "support/test_files.h"

namespace {

using testsupport::DirectoryExists;
using testsupport::FileExists;
using testsupport::TempDir;
using testsupport::WriteTextFile;

// Holds a file open the way a running projector or a loaded library does.
UniqueFile HoldOpen(const std::string& path) {
    return UniqueFile(CreateFileA(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
}

WorkingDirectoryClaim Claim(const std::string& base) {
    UniqueHandle mutex;
    WorkingDirectoryClaim claim;
    EXPECT_TRUE(ClaimWorkingDirectory(base, mutex, claim));
    EXPECT_FALSE(mutex) << "the mutex handle is closed once the directory is chosen";
    return claim;
}

TEST(WorkingDirectory, FirstEngineGetsSlotZero) {
    TempDir base("wd");
    const WorkingDirectoryClaim claim = Claim(base.Path());
    EXPECT_EQ(claim.SlotNumber, 0);
    EXPECT_EQ(claim.SlotSuffix, "_OBL_RT");
    EXPECT_EQ(claim.WorkDir, base.Path() + "Obl_Rt\\");
    EXPECT_TRUE(DirectoryExists(claim.WorkDir));
}

TEST(WorkingDirectory, FreeLeftoverIsDeletedWithItsTreeAndReused) {
    TempDir base("wd");
    CreateDirectoryA(base.File("Obl_Rt").c_str(), nullptr);
    CreateDirectoryA(base.File("Obl_Rt\\a").c_str(), nullptr);
    CreateDirectoryA(base.File("Obl_Rt\\a\\b").c_str(), nullptr);
    WriteTextFile(base.File("Obl_Rt\\old.exe"), "x");
    WriteTextFile(base.File("Obl_Rt\\a\\b\\deep.dll"), "y");

    const WorkingDirectoryClaim claim = Claim(base.Path());
    EXPECT_EQ(claim.SlotNumber, 0);
    EXPECT_EQ(claim.WorkDir, base.Path() + "Obl_Rt\\");
    EXPECT_EQ(testsupport::ListTree(claim.WorkDir), std::vector<std::string>({"Obl_Rt.claim"}))
        << "created anew, holding only its claim";
}

// The directory is claimed from its creation on, while still empty: a second engine choosing at
// that moment takes the next slot instead of deleting it. Giving the claim up removes the
// directory and nothing of the other's.
TEST(WorkingDirectory, NewDirectoryIsClaimedUntilReleased) {
    TempDir base("wd");
    WorkingDirectoryClaim first = Claim(base.Path());
    ASSERT_TRUE(first.Claim);
    EXPECT_FALSE(IsDirectoryFree(base.File("Obl_Rt")));

    WorkingDirectoryClaim second = Claim(base.Path());
    EXPECT_EQ(second.SlotNumber, 1);
    EXPECT_EQ(second.WorkDir, base.Path() + "Obl_Rt1\\");
    EXPECT_TRUE(DirectoryExists(first.WorkDir)) << "the claimed directory was taken over";
    WriteTextFile(second.WorkDir + "movie.swf", "the second engine's");
    WriteTextFile(first.WorkDir + "left.txt", "the first engine's");

    ReleaseWorkingDirectoryClaim(first.WorkDir, first.Claim);
    EXPECT_FALSE(first.Claim);
    EXPECT_FALSE(DirectoryExists(first.WorkDir));
    EXPECT_TRUE(FileExists(second.WorkDir + "movie.swf"));

    // Released, a directory is free again: the claim file went with its handle.
    second.Claim.reset();
    EXPECT_TRUE(IsDirectoryFree(base.File("Obl_Rt1")));
    EXPECT_FALSE(FileExists(second.WorkDir + "Obl_Rt.claim"));
}

TEST(WorkingDirectory, FileHeldOpenDeepInATreeMovesToTheNextSlot) {
    TempDir base("wd");
    CreateDirectoryA(base.File("Obl_Rt").c_str(), nullptr);
    CreateDirectoryA(base.File("Obl_Rt\\a").c_str(), nullptr);
    CreateDirectoryA(base.File("Obl_Rt\\a\\b").c_str(), nullptr);
    WriteTextFile(base.File("Obl_Rt\\free.txt"), "x");
    WriteTextFile(base.File("Obl_Rt\\a\\b\\held.dll"), "y");
    UniqueFile held = HoldOpen(base.File("Obl_Rt\\a\\b\\held.dll"));
    ASSERT_TRUE(held);

    const WorkingDirectoryClaim claim = Claim(base.Path());
    EXPECT_EQ(claim.SlotNumber, 1);
    EXPECT_EQ(claim.SlotSuffix, "_OBL_RT1");
    EXPECT_EQ(claim.WorkDir, base.Path() + "Obl_Rt1\\");
    EXPECT_TRUE(FileExists(base.File("Obl_Rt\\free.txt"))) << "a directory in use is left alone";
}

TEST(WorkingDirectory, EachSlotInUseIsSkipped) {
    TempDir base("wd");
    CreateDirectoryA(base.File("Obl_Rt").c_str(), nullptr);
    CreateDirectoryA(base.File("Obl_Rt1").c_str(), nullptr);
    WriteTextFile(base.File("Obl_Rt\\p.exe"), "x");
    WriteTextFile(base.File("Obl_Rt1\\p.exe"), "x");
    UniqueFile held0 = HoldOpen(base.File("Obl_Rt\\p.exe"));
    UniqueFile held1 = HoldOpen(base.File("Obl_Rt1\\p.exe"));

    const WorkingDirectoryClaim claim = Claim(base.Path());
    EXPECT_EQ(claim.SlotNumber, 2);
    EXPECT_EQ(claim.SlotSuffix, "_OBL_RT2");
    EXPECT_EQ(claim.WorkDir, base.Path() + "Obl_Rt2\\");
}

TEST(WorkingDirectory, PlainFileWithTheDirectoryNameIsReplaced) {
    TempDir base("wd");
    WriteTextFile(base.File("Obl_Rt"), "not a directory");

    const WorkingDirectoryClaim claim = Claim(base.Path());
    EXPECT_EQ(claim.SlotNumber, 0);
    EXPECT_TRUE(DirectoryExists(base.File("Obl_Rt")));
}

DWORD WINAPI TryTakeMutexAtOnce(LPVOID acquiredFlag) {
    UniqueHandle mutex(OpenMutexA(SYNCHRONIZE, FALSE, "PelluxRunnerMutex"));
    const DWORD waited = mutex ? WaitForSingleObject(mutex.get(), 2000) : WAIT_FAILED;
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) {
        static_cast<std::atomic<bool>*>(acquiredFlag)->store(true);
        ReleaseMutex(mutex.get());
    }
    return 0;
}

TEST(WorkingDirectory, MissingBaseRaisesCantCreateDirWithTheCandidate) {
    TempDir parent("wd");
    const std::string base = parent.File("missing\\");
    UniqueHandle mutex;
    WorkingDirectoryClaim claim;
    try {
        ClaimWorkingDirectory(base, mutex, claim);
        FAIL() << "no error raised";
    } catch (const EngineError& error) {
        EXPECT_EQ(std::string(error.what()), "Can't create dir " + base + "Obl_Rt");
    }
    // Ownership is given up on the way out, so nobody else waits for this thread.
    std::atomic<bool> acquired{false};
    UniqueHandle other(CreateThread(nullptr, 0, TryTakeMutexAtOnce, &acquired, 0, nullptr));
    ASSERT_TRUE(other);
    ASSERT_EQ(WaitForSingleObject(other.get(), 10000), WAIT_OBJECT_0);
    EXPECT_TRUE(acquired.load());
}

struct ThreadClaim {
    std::string Base;
    bool Result = false;
    WorkingDirectoryClaim Claim;
};

DWORD WINAPI ClaimOnThread(LPVOID parameter) {
    auto* job = static_cast<ThreadClaim*>(parameter);
    UniqueHandle mutex;
    job->Result = ClaimWorkingDirectory(job->Base, mutex, job->Claim);
    return 0;
}

TEST(WorkingDirectory, MutexIsGivenUpSoASecondEngineClaimsItsOwnSlot) {
    TempDir base("wd");
    // Another engine already waiting keeps the mutex object alive between the two claims.
    UniqueHandle keepAlive(CreateMutexA(nullptr, FALSE, "PelluxRunnerMutex"));
    ASSERT_TRUE(keepAlive);
    const WorkingDirectoryClaim first = Claim(base.Path());
    // The first engine keeps its directory busy, as its projector would.
    WriteTextFile(first.WorkDir + "projector.exe", "x");
    UniqueFile held = HoldOpen(first.WorkDir + "projector.exe");

    // Without the release, this thread's wait would time out and the claim would fail.
    ThreadClaim job;
    job.Base = base.Path();
    UniqueHandle thread(CreateThread(nullptr, 0, ClaimOnThread, &job, 0, nullptr));
    ASSERT_TRUE(thread);
    ASSERT_EQ(WaitForSingleObject(thread.get(), 20000), WAIT_OBJECT_0);
    EXPECT_TRUE(job.Result);
    EXPECT_EQ(job.Claim.SlotNumber, 1);
    EXPECT_EQ(job.Claim.SlotSuffix, "_OBL_RT1");
}

TEST(WorkingDirectory, FreeAndBusyFiles) {
    TempDir dir("wd");
    WriteTextFile(dir.File("f.bin"), "x");
    EXPECT_TRUE(IsFileFree(dir.File("f.bin")));
    EXPECT_FALSE(IsFileFree(dir.File("absent.bin"))) << "existing files only";
    EXPECT_FALSE(FileExists(dir.File("absent.bin"))) << "the check creates nothing";
    {
        UniqueFile held = HoldOpen(dir.File("f.bin"));
        EXPECT_FALSE(IsFileFree(dir.File("f.bin")));
        EXPECT_FALSE(IsDirectoryFree(dir.Path().substr(0, dir.Path().size() - 1)));
    }
    EXPECT_TRUE(IsDirectoryFree(dir.Path().substr(0, dir.Path().size() - 1)));
    EXPECT_TRUE(IsDirectoryFree(dir.File("nothing_here")));
}

}  // namespace
