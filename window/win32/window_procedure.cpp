// The host window procedure: a table from message number to handler. Messages without a handler
// go to DefWindowProcA, except the engine's own range WM_USER+1 .. WM_USER+50, which never does.
#include <windows.h>
#include <mmsystem.h>

#include <exception>
#include <utility>

#include "engine/win32/message_pump.h"
#include "engine/win32/tfrm_main.h"
#include "window/win32/host_window_procedure.h"
#include "window/win32/window_message_handlers.h"

namespace {

constexpr UINT kFirstEngineMessage = WM_USER + 1;
constexpr UINT kLastEngineMessage = WM_USER + 50;

struct MessageRoute {
    UINT Message;
    MessageHandler Handler;
};

// Messages registered at run time (the global close and server messages) cannot be listed here;
// they are matched before this table.
const MessageRoute kMessageRoutes[] = {
    {WM_DESTROY, hostmessages::OnDestroy},
    {WM_MOVE, hostmessages::OnMove},
    {WM_SIZE, hostmessages::OnSize},
    {WM_CLOSE, hostmessages::OnClose},
    {WM_COMMAND, hostmessages::OnCommand},
    {WM_SIZING, hostmessages::OnSizing},
    {WM_USER + 1, hostmessages::OnStart},
    {WM_USER + 4, hostmessages::OnMovieReady},
    {WM_SETTEXT, hostmessages::OnSetText},
    {WM_QUERYENDSESSION, hostmessages::OnEndSession},
    {WM_ENDSESSION, hostmessages::OnEndSession},
    {WM_ERASEBKGND, hostmessages::OnEraseBackground},
    {WM_ACTIVATEAPP, hostmessages::OnActivateApp},
    {WM_CANCELMODE, hostmessages::OnCancelMode},
    {WM_WINDOWPOSCHANGING, hostmessages::OnWindowPosChanging},
    {WM_NCPAINT, hostmessages::OnNcPaint},
    {WM_NCACTIVATE, hostmessages::OnNcActivate},
    {WM_KEYDOWN, hostmessages::OnKeyDown},
    {WM_CHAR, hostmessages::OnChar},
    {WM_TIMER, hostmessages::OnTimer},
    {WM_USER + 3, hostmessages::OnRaiseHost},
    {WM_USER + 7, hostmessages::OnActivationReport},
    {WM_USER + 8, hostmessages::OnForegroundProjector},
    {WM_USER + 9, hostmessages::OnShowPopupMenu},
    {WM_USER + 10, hostmessages::OnStopDrag},
    {WM_USER + 11, hostmessages::OnStartDrag},
    {WM_USER + 12, hostmessages::OnCloseRequest},
    {WM_USER + 14, hostmessages::OnStopDragIfRunning},
    {WM_USER + 6, hostmessages::OnStartMidi},
    {MM_MCINOTIFY, hostmessages::OnMidiNotify},
};

// 0 is no registered message (WM_NULL): an id not registered yet, or no longer, matches nothing.
MessageHandler FindRegisteredHandler(const TfrmMain& main, UINT message) {
    if (message == 0) return nullptr;
    if (message == main.GlobalCloseMessage) return hostmessages::OnGlobalClose;
    if (message == main.ServerMessage) return hostmessages::OnServerQuery;
    return nullptr;
}

MessageHandler FindHandler(UINT message) {
    for (const MessageRoute& route : kMessageRoutes) {
        if (route.Message == message) return route.Handler;
    }
    return nullptr;
}

bool IsEngineMessage(UINT message) { return message >= kFirstEngineMessage && message <= kLastEngineMessage; }

std::exception_ptr& PendingException() {
    static std::exception_ptr pending;
    return pending;
}

}  // namespace

LRESULT TfrmMain::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HandlerResult result = kCallDefault;
    MessageHandler handler = FindRegisteredHandler(*this, message);
    if (!handler) handler = FindHandler(message);
    if (handler) result = handler(*this, WindowMessage{window, message, wParam, lParam});
    if (IsEngineMessage(message)) return result.CallDefault ? 0 : result.Result;
    return result.CallDefault ? DefWindowProcA(window, message, wParam, lParam) : result.Result;
}

LRESULT CALLBACK HostWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    TfrmMain* main = Program().MainObject;
    if (!main) return DefWindowProcA(window, message, wParam, lParam);
    try {
        return main->WindowProcedure(window, message, wParam, lParam);
    } catch (...) {
        // The first failure is the one to report; a later one is only its consequence.
        if (!PendingException()) PendingException() = std::current_exception();
        return 0;
    }
}

void RethrowWindowProcedureException() {
    if (std::exception_ptr pending = std::exchange(PendingException(), nullptr)) std::rethrow_exception(pending);
}
