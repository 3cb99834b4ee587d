#include "support/fault_mounts.h"

#include <windows.h>

#include <stdexcept>

#include "support/test_files.h"

namespace testsupport {
namespace {

const char kMarker[] = ".stagehost-mounted";

}  // namespace

FaultMounts FindFaultMounts() {
    const std::string dir = BinDir() + "\\fs-faults\\";
    FaultMounts mounts;
    mounts.Small = dir + "small\\";
    mounts.Writable = dir + "rw\\";
    mounts.ReadOnlyView = dir + "ro\\";
    if (FileExists(dir + "skipped")) {
        const std::vector<uint8_t> reason = ReadFileBytes(dir + "skipped");
        mounts.NotMounted.assign(reason.begin(), reason.end());
        while (!mounts.NotMounted.empty() && mounts.NotMounted.back() == '\n') mounts.NotMounted.pop_back();
    } else if (!FileExists(mounts.Small + kMarker) || !FileExists(mounts.Writable + kMarker) ||
               !FileExists(mounts.ReadOnlyView + kMarker)) {
        mounts.NotMounted = "the test file systems are not mounted under " + dir +
                            " (ctest mounts them through the fixture wine_fs_fault_mounts_setup)";
    }
    return mounts;
}

std::string ReadOnlyViewOf(const FaultMounts& mounts, const std::string& writablePath) {
    if (writablePath.compare(0, mounts.Writable.size(), mounts.Writable) != 0)
        throw std::runtime_error(writablePath + " is not under " + mounts.Writable);
    return mounts.ReadOnlyView + writablePath.substr(mounts.Writable.size());
}

uint64_t FreeBytes(const std::string& dir) {
    ULARGE_INTEGER available{};
    if (!GetDiskFreeSpaceExA(dir.c_str(), &available, nullptr, nullptr))
        throw std::runtime_error("cannot read the free space of " + dir);
    return available.QuadPart;
}

}  // namespace testsupport
