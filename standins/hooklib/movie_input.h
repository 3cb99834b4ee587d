// What the stand-in hook library reports from inside the projector, once the movie is shown, as a
// real one would: the options come from the shared control block, the reports go to the host.
//   right button, block "suppress right-click menu" set: the press is swallowed, the release is
//       swallowed and sends WM_USER+9 (show the engine's menu)
//   left press, "draggable": WM_USER+11 with wParam WM_LBUTTONDOWN; left release: WM_USER+10
//   any button press, "mouse click exits": WM_USER+12 with wParam 0 (instead of the above)
//   Esc pressed, "exit on Esc": WM_USER+12 with wParam 0; any key pressed, "any key exits": the same
//   a projector window activated: WM_USER+7 with the window; the focus into the movie: WM_USER+3
//   the global close message posted to the projector window: WM_CLOSE to that window
// Everything is posted, never sent: the host may be inside its menu loop.
#pragma once

#include <windows.h>

namespace standin {

// Mouse hook: true swallows the event.
bool OnMovieMouse(WPARAM mouseMessage);
// Keyboard hook, with the hook's wParam (virtual key) and lParam (key flags).
void OnMovieKey(WPARAM key, LPARAM flags);
// CBT hook.
void OnMovieCbt(int code, WPARAM wParam);
// Get-message hook, for messages taken off the queue.
void OnMovieMessage(const MSG& message);

}  // namespace standin
