// The stand-in projector's main window: class "ShockwaveFlash", a framed window with a menu bar
// whose View menu holds "Full Screen", a demo picture, and the full-screen switch a player makes
// (menu, frame and caption dropped) on its own command id or on 20048.
#pragma once

#include <windows.h>

#include "test_controls.h"

namespace standin {

constexpr const char kProjectorWindowClass[] = "ShockwaveFlash";
constexpr UINT kCommandExit = 40001;
constexpr UINT kCommandFullScreen = 40010;
constexpr UINT kCommandFullScreenFallback = 20048;  // what the engine sends when it cannot read the menu
constexpr int kDefaultClientWidth = 550;
constexpr int kDefaultClientHeight = 400;

// Creates and shows the window in the calling thread; returns 0 on failure.
HWND CreateProjectorWindow(HINSTANCE instance, int showCommand, const TestControls& controls);

}  // namespace standin
