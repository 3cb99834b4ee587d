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
    {WM_USER + 6, hostmessages::OnStartMidi},
    {MM_MCINOTIFY, hostmessages::OnMidiNotify},
};

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
    if (MessageHandler handler = FindHandler(message)) result = handler(*this, WindowMessage{window, message, wParam, lParam});
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
