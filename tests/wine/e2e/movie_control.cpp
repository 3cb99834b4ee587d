#include "movie_control.h"

#include "support/engine_process.h"

namespace moviecontrol {
namespace {

constexpr DWORD kSendTimeoutMs = 10000;
constexpr DWORD kInputSettleMs = 150;

void SendMouse(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(input));
}

struct MenuSearch {
    DWORD ProcessId;
    HWND Found;
};

BOOL CALLBACK FindMenuWindow(HWND window, LPARAM search) {
    auto* s = reinterpret_cast<MenuSearch*>(search);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == s->ProcessId && IsWindowVisible(window) && testsupport::ClassNameOf(window) == "#32768") {
        s->Found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

LRESULT SendThroughMovie(HWND projector, const std::string& text, WPARAM wParam) {
    COPYDATASTRUCT data{};
    data.dwData = wParam;
    data.cbData = static_cast<DWORD>(text.size() + 1);
    data.lpData = const_cast<char*>(text.c_str());
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(projector, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL,
                             testsupport::ScaledTimeout(kSendTimeoutMs), &answer))
        return -1;
    return static_cast<LRESULT>(answer);
}

// Under Wine a cursor position older than a moment is read back from the X server, which may not
// have followed a move yet: the move is repeated until a read-back after that moment agrees, so
// the engine reads the same position.
void MoveCursor(POINT at) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        SetCursorPos(at.x, at.y);
        Sleep(testsupport::ScaledTimeout(kInputSettleMs));
        POINT now{};
        if (GetCursorPos(&now) && now.x == at.x && now.y == at.y) return;
    }
}

void PressButton(bool left) {
    SendMouse(left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN);
    Sleep(testsupport::ScaledTimeout(kInputSettleMs));
}

void ReleaseButton(bool left) {
    SendMouse(left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP);
    Sleep(testsupport::ScaledTimeout(kInputSettleMs));
}

void Click(POINT at, bool left) {
    MoveCursor(at);
    PressButton(left);
    ReleaseButton(left);
}

POINT CenterOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

HWND WaitForPopupMenu(DWORD processId, DWORD timeoutMs) {
    MenuSearch search{processId, nullptr};
    testsupport::WaitUntil(
        [&] {
            search.Found = nullptr;
            EnumWindows(FindMenuWindow, reinterpret_cast<LPARAM>(&search));
            return search.Found != nullptr;
        },
        timeoutMs);
    return search.Found;
}

void ChooseMenuItem(HWND menu, int item, int itemCount) {
    // Another process's menu cannot be read: the items share the window's client height evenly.
    RECT client{};
    GetClientRect(menu, &client);
    POINT at{client.right / 2, client.bottom * (2 * item + 1) / (2 * itemCount)};
    ClientToScreen(menu, &at);
    MoveCursor(at);
    Click(at, true);
}

bool ProcessEnds(HANDLE process, DWORD timeoutMs) { return WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0; }

}  // namespace moviecontrol
