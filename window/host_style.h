// Window and extended styles of the host window, chosen from the settings.
#pragma once

#include <cstdint>

#include "payload/options.h"
#include "window/os_flags.h"

// The style bits used here, with their Windows values (this code stays free of <windows.h>).
namespace hoststyle {
constexpr uint32_t kPopup = 0x80000000u;        // WS_POPUP
constexpr uint32_t kVisible = 0x10000000u;      // WS_VISIBLE
constexpr uint32_t kClipChildren = 0x02000000u; // WS_CLIPCHILDREN
constexpr uint32_t kCaption = 0x00C00000u;      // WS_CAPTION (WS_BORDER | WS_DLGFRAME)
constexpr uint32_t kBorder = 0x00800000u;       // WS_BORDER
constexpr uint32_t kSysMenu = 0x00080000u;      // WS_SYSMENU
constexpr uint32_t kThickFrame = 0x00040000u;   // WS_THICKFRAME
constexpr uint32_t kMinimizeBox = 0x00020000u;  // WS_MINIMIZEBOX
constexpr uint32_t kMaximizeBox = 0x00010000u;  // WS_MAXIMIZEBOX
constexpr uint32_t kExTopmost = 0x00000008u;    // WS_EX_TOPMOST
constexpr uint32_t kExAppWindow = 0x00040000u;  // WS_EX_APPWINDOW
}  // namespace hoststyle

struct HostStyle {
    uint32_t Style = 0;
    uint32_t ExStyle = 0;
};

// True full screen: FullScreen on and CustomSize off. Otherwise the host is windowed.
bool IsTrueFullScreen(const Options& opt);

HostStyle ComputeHostStyle(const Options& opt, const OsFlags& os);
