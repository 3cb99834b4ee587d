// The stand-in movie's commands to its engine: WM_SETTEXT to the host window (named by the
// "OrbelinEngine_WH" variable the engine passes), as a movie's commands reach the engine through
// the hook library. Each answer goes into the report (projector_report.h).
//   keys in the movie: F "fullscreen", N "nofullscreen", M "minimize", S "setup",
//       W "writereg:Software\stagehost demo\Greeting=hello", R "readreg:Software\stagehost demo\Greeting=none";
//       the no-wait form "vcommand:", with Shift the wait form "vcommandw:"
//   WM_COPYDATA to the projector window: dwData is the WM_SETTEXT wParam, the data the text (its
//       final NUL optional); the host's answer is the WM_COPYDATA result (tests send any text so)
//   STANDIN_SEND_TEXT=<text> with STANDIN_SEND_AFTER_MS=<n>: sends the text once, n ms after the
//       window is inside the host
#pragma once

#include <windows.h>

#include <string>

namespace standin {

struct ProjectorView;

// Sends text with wParam to the host and records it and the answer in view; 0 without a host.
LRESULT SendMovieCommand(ProjectorView& view, WPARAM wParam, const std::string& text);

// The command a key sends, empty for other keys.
std::string CommandForKey(WPARAM key, bool shift);

// The text of a WM_COPYDATA request.
std::string CopyDataText(const COPYDATASTRUCT& data);

}  // namespace standin
