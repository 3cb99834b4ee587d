// The host window's command ids (WM_COMMAND wParam): the popup menu and the movie's window commands
// share them. Portable.
#pragma once

#include <cstdint>

namespace host_commands {

constexpr uint32_t kClose = 129;
constexpr uint32_t kSetup = 130;
constexpr uint32_t kMinimize = 131;
constexpr uint32_t kEnterFullScreenMode = 132;
constexpr uint32_t kLeaveFullScreenMode = 133;

}  // namespace host_commands
