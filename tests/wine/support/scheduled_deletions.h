// Deletions the engine schedules for the next system start (MoveFileEx with
// MOVEFILE_DELAY_UNTIL_REBOOT): the PendingFileRenameOperations value of the session manager.
// Tests check their entries and remove them again, so the value does not grow with every run.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

// The value's strings in order: pairs of source and target (empty target: a deletion).
std::vector<std::string> PendingRenameEntries();

// A deletion or rename of path (compared without case, whatever prefix the system puts before it).
bool DeletionScheduledFor(const std::string& path);

// Removes the pairs whose source lies inside directory.
void ForgetScheduledDeletionsUnder(const std::string& directory);

// Removes a test's scheduled deletions however the test ends.
struct ScheduledDeletionsGuard {
    std::string Directory;
    ~ScheduledDeletionsGuard() { ForgetScheduledDeletionsUnder(Directory); }
};

}  // namespace testsupport
