// The host window procedure's handlers: one small function per message, looked up by message
// number in window_procedure.cpp.
#pragma once

#include <windows.h>

class TfrmMain;

struct WindowMessage {
    HWND Window;
    UINT Message;
    WPARAM WParam;
    LPARAM LParam;
};

// CallDefault: the message goes on to DefWindowProcA, whose result is returned; otherwise Result.
struct HandlerResult {
    bool CallDefault;
    LRESULT Result;
};

inline constexpr HandlerResult kCallDefault{true, 0};
inline constexpr HandlerResult Handled(LRESULT result = 0) { return {false, result}; }

using MessageHandler = HandlerResult (*)(TfrmMain& main, const WindowMessage& message);

namespace hostmessages {

// Geometry (geometry_messages.cpp)
HandlerResult OnMove(TfrmMain& main, const WindowMessage& message);
HandlerResult OnSize(TfrmMain& main, const WindowMessage& message);
HandlerResult OnSizing(TfrmMain& main, const WindowMessage& message);

// Commands from the popup menu, the movie and the capture step (command_messages.cpp)
HandlerResult OnCommand(TfrmMain& main, const WindowMessage& message);

// Lifetime and closing (lifetime_messages.cpp)
HandlerResult OnClose(TfrmMain& main, const WindowMessage& message);
HandlerResult OnDestroy(TfrmMain& main, const WindowMessage& message);

// Engine messages WM_USER+n (engine_messages.cpp)
HandlerResult OnStart(TfrmMain& main, const WindowMessage& message);       // WM_USER+1
HandlerResult OnMovieReady(TfrmMain& main, const WindowMessage& message);  // WM_USER+4

// MIDI music (midi_messages.cpp)
HandlerResult OnStartMidi(TfrmMain& main, const WindowMessage& message);   // WM_USER+6
HandlerResult OnMidiNotify(TfrmMain& main, const WindowMessage& message);  // MM_MCINOTIFY

}  // namespace hostmessages
