#include "engine_dialogs.h"

#include <cstdio>

#include "support/engine_process.h"

using namespace testsupport;

namespace enginedialogs {

HWND WaitForDialogWithControl(DWORD processId, int controlId, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : TopLevelWindowsOf(processId))
                if (ClassNameOf(window) == "#32770" && IsWindowVisible(window) && GetDlgItem(window, controlId)) {
                    found = window;
                    return true;
                }
            return false;
        },
        timeoutMs);
    if (!found) return nullptr;
    // A dialog shows while the engine still finishes it (caption, activation): a user's click
    // comes later, so the test waits until the dialog is active and the engine waits for input.
    WaitUntil([&] { return GetForegroundWindow() == found; }, 5000);
    if (HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId)) {
        WaitForInputIdle(process, 5000);
        CloseHandle(process);
    }
    Sleep(200);
    return found;
}

HWND WaitForPasswordDialog(DWORD processId) { return WaitForDialogWithControl(processId, kPasswordEdit); }

// The version label (id 5) is the Setup dialog's own; its check boxes may all be hidden.
HWND WaitForSetupDialog(DWORD processId) { return WaitForDialogWithControl(processId, 5); }

void TypeText(HWND control, const std::string& text) {
    // Sent, not posted: every character is in before a later click (sent too) is handled.
    for (char c : text) SendMessageA(control, WM_CHAR, static_cast<unsigned char>(c), 1);
}

void PressEnter(HWND control) {
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(VK_RETURN, MAPVK_VK_TO_VSC)) << 16;
    PostMessageA(control, WM_KEYDOWN, VK_RETURN, scan | 1);
    PostMessageA(control, WM_KEYUP, VK_RETURN, scan | 1 | (LPARAM{3} << 30));
}

void Click(HWND button) {
    // The mouse itself, at the middle of the button: the engine's own loop delivers the press and
    // the release, as it would a user's.
    RECT rect{};
    GetWindowRect(button, &rect);
    const int x = (rect.left + rect.right) / 2;
    const int y = (rect.top + rect.bottom) / 2;
    SetCursorPos(x, y);
    INPUT inputs[3] = {};
    for (INPUT& input : inputs) input.type = INPUT_MOUSE;
    // The move travels with the press, so the press cannot land where the cursor was before.
    inputs[0].mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    inputs[0].mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(3, inputs, sizeof(INPUT));
    // Done when the engine has taken both: its queue is empty again.
    DWORD processId = 0;
    GetWindowThreadProcessId(button, &processId);
    Sleep(100);
    if (HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId)) {
        WaitForInputIdle(process, 2000);
        CloseHandle(process);
    }
}

bool ToggleBox(HWND dialog, int id) {
    const HWND box = GetDlgItem(dialog, id);
    const bool before = ReadBox(dialog, id).Checked;
    const auto toggled = [&] { return WaitUntil([&] { return ReadBox(dialog, id).Checked != before; }, 5000); };
    Click(box);
    if (toggled()) return true;
    // Now and then Wine drops a synthesised click (seen about once in a dozen runs, with the box
    // visible and enabled); a user would click again. Say where the click went, then do so.
    RECT rect{};
    GetWindowRect(box, &rect);
    const POINT middle{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    POINT cursor{};
    GetCursorPos(&cursor);
    std::fprintf(stderr, "click on box %d lost: window under its middle %p (the box %p), cursor at %ld,%ld\n", id,
                 static_cast<void*>(WindowFromPoint(middle)), static_cast<void*>(box), cursor.x, cursor.y);
    Click(box);
    return toggled();
}

void PressCloseBox(HWND window) { PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); }

bool WaitUntilGone(HWND window, DWORD timeoutMs) { return WaitUntil([&] { return !IsWindow(window); }, timeoutMs); }

BoxState ReadBox(HWND dialog, int id) {
    BoxState state;
    const HWND box = GetDlgItem(dialog, id);
    if (!box) return state;
    state.Visible = IsWindowVisible(box) != FALSE;
    state.Enabled = IsWindowEnabled(box) != FALSE;
    state.Checked = SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
    RECT rect{};
    GetWindowRect(box, &rect);
    state.Place = {rect.left, rect.top};
    ScreenToClient(dialog, &state.Place);
    return state;
}

std::string PelluxValue(const std::string& section, const std::string& name) {
    char data[256] = {};
    DWORD size = sizeof data - 1;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, ("Software\\Pellux\\" + section).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "";
    const LONG result = RegQueryValueExA(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? std::string(data) : std::string();
}

}  // namespace enginedialogs
