// Reads the projector's menu bar to find its own full-screen command.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

// The MENUITEMINFOA size of the system's first menu-item API, without hbmpItem: 44 bytes in a
// 32-bit build, 72 in a 64-bit one (the 64-bit system refuses 44 there).
constexpr UINT kMenuItemInfoSize = offsetof(MENUITEMINFOA, hbmpItem);
#if defined(_WIN64)
static_assert(kMenuItemInfoSize == 72, "MENUITEMINFOA without hbmpItem is 72 bytes on x86_64");
#else
static_assert(kMenuItemInfoSize == 44, "MENUITEMINFOA without hbmpItem is 44 bytes on i686");
#endif

// The command id of the "Full Screen" item under the "View" menu of menuBar (English, German or
// Portuguese texts), or 20048 when there is none. The menu must belong to this process.
int32_t ReadFullScreenCommand(HMENU menuBar);
