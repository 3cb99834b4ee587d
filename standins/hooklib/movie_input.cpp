#include "movie_input.h"

#include "engine/engine_names.h"
#include "movie_ready_signal.h"

namespace standin {
namespace {

constexpr UINT kRaiseHost = WM_USER + 3;
constexpr UINT kActivationReport = WM_USER + 7;
constexpr UINT kShowMenu = WM_USER + 9;
constexpr UINT kStopDrag = WM_USER + 10;
constexpr UINT kStartDrag = WM_USER + 11;
constexpr UINT kCloseRequest = WM_USER + 12;

HWND HostOf(const volatile SharedControlBlock* block) {
    return static_cast<HWND>(FieldToHandle(block->HostWindow));
}

bool IsButtonPress(WPARAM m) {
    return m == WM_LBUTTONDOWN || m == WM_RBUTTONDOWN || m == WM_MBUTTONDOWN || m == WM_NCLBUTTONDOWN ||
           m == WM_NCRBUTTONDOWN;
}

}  // namespace

bool OnMovieMouse(WPARAM mouseMessage) {
    const volatile SharedControlBlock* block = ShownMovieBlock();
    if (!block) return false;
    const HWND host = HostOf(block);
    if (!host) return false;
    if (block->MouseClickExits && IsButtonPress(mouseMessage)) {
        PostMessageA(host, kCloseRequest, 0, 0);
        return false;
    }
    switch (mouseMessage) {
        case WM_RBUTTONDOWN:
            return block->SuppressRightClickMenu != 0;
        case WM_RBUTTONUP:
            if (!block->SuppressRightClickMenu) return false;
            PostMessageA(host, kShowMenu, 0, 0);
            return true;
        case WM_LBUTTONDOWN:
            if (block->Draggable) PostMessageA(host, kStartDrag, WM_LBUTTONDOWN, 0);
            return false;
        case WM_LBUTTONUP:
            if (block->Draggable) PostMessageA(host, kStopDrag, 0, 0);
            return false;
        default:
            return false;
    }
}

void OnMovieKey(WPARAM key, LPARAM flags) {
    const bool released = (flags & 0x80000000) != 0;
    const bool repeated = (flags & 0x40000000) != 0;
    if (released || repeated) return;
    const volatile SharedControlBlock* block = ShownMovieBlock();
    if (!block) return;
    const bool exits = (key == VK_ESCAPE && block->ExitOnEsc) || block->AnyKeyExits;
    if (exits) PostMessageA(HostOf(block), kCloseRequest, 0, 0);
}

void OnMovieCbt(int code, WPARAM wParam) {
    const volatile SharedControlBlock* block = ShownMovieBlock();
    if (!block) return;
    const HWND host = HostOf(block);
    const HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE) {
        PostMessageA(host, kActivationReport, static_cast<WPARAM>(HandleToField(window)), 0);
    } else if (code == HCBT_SETFOCUS && window && window == FieldToHandle(block->ProjectorWindow)) {
        PostMessageA(host, kRaiseHost, 0, 0);
    }
}

void OnMovieMessage(const MSG& message) {
    const volatile SharedControlBlock* block = ShownMovieBlock();
    if (!block || !message.hwnd) return;
    static const UINT globalClose = RegisterWindowMessageA(engine_names::kGlobalCloseMessage);
    if (message.message == globalClose && message.hwnd == FieldToHandle(block->ProjectorWindow))
        PostMessageA(message.hwnd, WM_CLOSE, 0, 0);
}

}  // namespace standin
