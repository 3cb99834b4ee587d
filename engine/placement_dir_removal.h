// The order in which the cleanup removes the sub-directories that file placements created inside
// the working directory. Portable.
#pragma once

#include <string>
#include <vector>

// For each placement text, from the last to the first: the text without a final "\", then each
// of its parents in turn ("a\b\c", "a\b", "a"). Paths are relative to the working directory;
// removing them in this order leaves no empty placement directory behind.
std::vector<std::string> PlacementDirRemovalOrder(const std::vector<std::string>& placementDirs);
