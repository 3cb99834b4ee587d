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

// The open Setup dialog's window, nullptr when none is open.
HWND OpenSetupDialogWindow();

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
HandlerResult OnCloseRequest(TfrmMain& main, const WindowMessage& message);  // WM_USER+12

// Ending the session, painting (session_paint_messages.cpp)
HandlerResult OnEndSession(TfrmMain& main, const WindowMessage& message);  // WM_QUERYENDSESSION, WM_ENDSESSION
HandlerResult OnEraseBackground(TfrmMain& main, const WindowMessage& message);
HandlerResult OnNcPaint(TfrmMain& main, const WindowMessage& message);
HandlerResult OnWindowPosChanging(TfrmMain& main, const WindowMessage& message);

// Activation and the caption (activation_messages.cpp)
HandlerResult OnActivateApp(TfrmMain& main, const WindowMessage& message);
HandlerResult OnNcActivate(TfrmMain& main, const WindowMessage& message);
HandlerResult OnRaiseHost(TfrmMain& main, const WindowMessage& message);         // WM_USER+3
HandlerResult OnActivationReport(TfrmMain& main, const WindowMessage& message);  // WM_USER+7
HandlerResult OnForegroundProjector(TfrmMain& main, const WindowMessage& message);  // WM_USER+8

// Keys typed into the host (key_messages.cpp)
HandlerResult OnKeyDown(TfrmMain& main, const WindowMessage& message);
HandlerResult OnChar(TfrmMain& main, const WindowMessage& message);

// Popup menu and dragging (menu_drag_messages.cpp)
HandlerResult OnShowPopupMenu(TfrmMain& main, const WindowMessage& message);  // WM_USER+9
HandlerResult OnStopDrag(TfrmMain& main, const WindowMessage& message);       // WM_USER+10
HandlerResult OnStartDrag(TfrmMain& main, const WindowMessage& message);      // WM_USER+11
HandlerResult OnStopDragIfRunning(TfrmMain& main, const WindowMessage& message);  // WM_USER+14
HandlerResult OnCancelMode(TfrmMain& main, const WindowMessage& message);
HandlerResult OnTimer(TfrmMain& main, const WindowMessage& message);

// The movie's commands (text_messages.cpp)
HandlerResult OnSetText(TfrmMain& main, const WindowMessage& message);

// Messages registered at run time (registered_messages.cpp)
HandlerResult OnGlobalClose(TfrmMain& main, const WindowMessage& message);
HandlerResult OnServerQuery(TfrmMain& main, const WindowMessage& message);

// MIDI music (midi_messages.cpp)
HandlerResult OnStartMidi(TfrmMain& main, const WindowMessage& message);   // WM_USER+6
HandlerResult OnMidiNotify(TfrmMain& main, const WindowMessage& message);  // MM_MCINOTIFY

}  // namespace hostmessages
