#include "engine/placement_dir_removal.h"

#include <gtest/gtest.h>

namespace {

using Paths = std::vector<std::string>;

TEST(PlacementDirRemoval, LastPlacementFirstThenEachParent) {
    const struct {
        const char* name;
        Paths placements;
        Paths expected;
    } cases[] = {
        {"none", {}, {}},
        {"one level", {"data\\"}, {"data"}},
        {"without final backslash", {"data"}, {"data"}},
        {"nested", {"a\\b\\c\\"}, {"a\\b\\c", "a\\b", "a"}},
        {"reverse order of the list", {"first\\", "second\\x\\"}, {"second\\x", "second", "first"}},
        {"empty entry and lone backslash", {"", "\\"}, {}},
        {"double backslash keeps its empty step", {"a\\\\b"}, {"a\\\\b", "a\\", "a"}},
    };
    for (const auto& c : cases) EXPECT_EQ(PlacementDirRemovalOrder(c.placements), c.expected) << c.name;
}

}  // namespace
