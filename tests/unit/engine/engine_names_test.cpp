#include "engine/engine_names.h"

#include <gtest/gtest.h>

namespace {

struct SlotCase {
    int32_t slot;
    const char* suffix;
    const char* candidate;
    const char* mapping;
    const char* runnerMessage;
};

TEST(EngineNames, SlotNamesCarryTheNumberExceptForSlotZero) {
    const SlotCase cases[] = {
        {0, "_OBL_RT", "C:\\T\\Obl_Rt", "PelluxRunnerMapping_OBL_RT", "PelluxRunnerMessage_OBL_RT"},
        {1, "_OBL_RT1", "C:\\T\\Obl_Rt1", "PelluxRunnerMapping_OBL_RT1",
         "PelluxRunnerMessage_OBL_RT1"},
        {3, "_OBL_RT3", "C:\\T\\Obl_Rt3", "PelluxRunnerMapping_OBL_RT3",
         "PelluxRunnerMessage_OBL_RT3"},
        {12, "_OBL_RT12", "C:\\T\\Obl_Rt12", "PelluxRunnerMapping_OBL_RT12",
         "PelluxRunnerMessage_OBL_RT12"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slot);
        EXPECT_EQ(SlotSuffix(c.slot), c.suffix);
        EXPECT_EQ(WorkDirCandidate("C:\\T\\", c.slot), c.candidate);
        EXPECT_EQ(MappingName(SlotSuffix(c.slot)), c.mapping);
        EXPECT_EQ(RunnerMessageName(SlotSuffix(c.slot)), c.runnerMessage);
    }
}

TEST(EngineNames, EmptyBaseGivesARelativeCandidate) {
    EXPECT_EQ(WorkDirCandidate("", 0), "Obl_Rt");
    EXPECT_EQ(WorkDirCandidate("", 2), "Obl_Rt2");
}

TEST(EngineNames, UnsuffixedNamesAndRunMarker) {
    EXPECT_STREQ(engine_names::kServerMessage, "PelluxRunnerSvrMessage");
    EXPECT_STREQ(engine_names::kInstanceMutex, "PelluxRunnerMutex");
    EXPECT_STREQ(engine_names::kGlobalCloseMessage, "VGlobalCloseMessage_s-z");
    EXPECT_EQ(RunMarkerAtomText("show.exe"), "aakq show.exe");
}

TEST(EngineNames, FinalBackslashIsAddedOnlyWhenMissing) {
    EXPECT_EQ(WithFinalBackslash(""), "");
    EXPECT_EQ(WithFinalBackslash("C:\\Temp"), "C:\\Temp\\");
    EXPECT_EQ(WithFinalBackslash("C:\\Temp\\"), "C:\\Temp\\");
}

}  // namespace
