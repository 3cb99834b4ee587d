#include "engine/host_window_failure.h"

#include <gtest/gtest.h>

namespace {

TEST(HostWindowFailure, NamesTheWindowAndTheSystemsReasonWhenThereIsOne) {
    EXPECT_EQ(HostWindowFailureText("Not enough memory resources are available to process this command.\r\n"),
              "Can't create the host window: Not enough memory resources are available to process this command");
    EXPECT_EQ(HostWindowFailureText(""), "Can't create the host window");
    EXPECT_EQ(HostWindowFailureText(" .\r\n"), "Can't create the host window");
}

}  // namespace
