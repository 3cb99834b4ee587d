// The two messages registered at run time: the global close between engines and the hook library's
// server query.
#include "engine/shared_control_block.h"
#include "engine/win32/tfrm_main.h"
#include "window/global_close_rule.h"
#include "window/server_query.h"
#include "window/win32/window_message_handlers.h"

namespace {

constexpr UINT kRecognisesNothing = 0xFFFFFFFF;  // no message has this id
constexpr int kAtomTextLength = 1024;
constexpr DWORD kEnvironmentBufferSize = 500;

std::string AtomText(LPARAM lParam) {
    char text[kAtomTextLength + 1] = {};
    const UINT length = GlobalGetAtomNameA(static_cast<ATOM>(lParam), text, kAtomTextLength + 1);
    return std::string(text, length);
}

// The host handle the named engine left in this engine's environment, when this engine was
// started (directly or through other programs) from it.
bool EnvironmentNamesWindow(const std::string& name, WPARAM window) {
    if (name.empty()) return false;
    char value[kEnvironmentBufferSize] = {};
    const DWORD length = GetEnvironmentVariableA(name.c_str(), value, kEnvironmentBufferSize);
    if (length == 0 || length >= kEnvironmentBufferSize) return false;
    int64_t parsed = 0;
    return ParseHandleValue(std::string(value, length), parsed) &&
           HandleValueMatches(parsed, static_cast<uint32_t>(window));
}

}  // namespace

namespace hostmessages {

// wParam: the closing engine's host (handed on to this engine's projector when that engine started
// this one); 0: from another program, naming the program to close. After a wParam-0 message this
// engine recognises no further global close message.
HandlerResult OnGlobalClose(TfrmMain& main, const WindowMessage& message) {
    const std::string atomText = AtomText(message.LParam);
    if (message.WParam != 0) {
        if (EnvironmentNamesWindow(atomText, message.WParam) && main.ProjectorWindow)
            PostMessageA(main.ProjectorWindow, message.Message, message.WParam, message.LParam);
    } else {
        main.GlobalCloseMessage = kRecognisesNothing;
        if (GlobalCloseNamesProgram(atomText, main.ExeName)) SendMessageA(message.Window, WM_CLOSE, 0, 0);
    }
    return kCallDefault;
}

HandlerResult OnServerQuery(TfrmMain& main, const WindowMessage& message) {
    const HWND host = message.Window;
    const auto toScreen = [host](ClientPoint p) {
        POINT point{p.X, p.Y};
        ClientToScreen(host, &point);
        return ClientPoint{point.x, point.y};
    };
    const int32_t answer = AnswerServerQuery(message.WParam, static_cast<int64_t>(message.LParam), main.Host.ClientWidth,
                                             main.Host.ClientHeight, toScreen);
    return Handled(static_cast<LRESULT>(answer));
}

}  // namespace hostmessages
