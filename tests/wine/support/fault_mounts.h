// The real file systems that scripts/fs-fault-mounts.sh mounts for the file-system fault tests
// (a CTest fixture around them, in <build tree>/fs-faults): a small tmpfs to fill up and a
// read-only view of a writable one. Tests make their own directories in them.
#pragma once

#include <cstdint>
#include <string>

namespace testsupport {

struct FaultMounts {
    std::string Small;         // an 8 MiB tmpfs, with a final "\"
    std::string Writable;      // a writable tmpfs, with a final "\"
    std::string ReadOnlyView;  // the same file system bound read-only, with a final "\"
    std::string NotMounted;    // why they are not there; empty when they are
};

FaultMounts FindFaultMounts();

// A path under mounts.Writable as seen through mounts.ReadOnlyView.
std::string ReadOnlyViewOf(const FaultMounts& mounts, const std::string& writablePath);

// Bytes this process may still write on the file system that holds dir.
uint64_t FreeBytes(const std::string& dir);

}  // namespace testsupport
