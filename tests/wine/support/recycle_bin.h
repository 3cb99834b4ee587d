// What the engine sent to the Recycle Bin. Under Wine the bin is the desktop's trash folder
// (<home>\.local\share\Trash: an "info" file per item naming where it came from, the item itself
// under "files"); tests look for their own items there and empty them again.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

// Whether the Recycle Bin can be inspected here (Wine's trash folder exists).
bool RecycleBinReadable();

// Names of the trashed items that came from below directory (a test's temporary directory).
std::vector<std::string> RecycledFrom(const std::string& directory);

// Deletes those items for good, as far as the system lets: an item holding a file another
// process maps stays, listed.
void EmptyRecycledFrom(const std::string& directory);

// Empties a test's recycled items however the test ends.
struct RecycledItemsGuard {
    std::string Directory;
    ~RecycledItemsGuard() { EmptyRecycledFrom(Directory); }
};

}  // namespace testsupport
