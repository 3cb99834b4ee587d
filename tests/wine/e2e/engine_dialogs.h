// Finding and driving the engine's two dialogs from outside, as a user would: the password prompt
// ("PW_DIALOG") and the Setup dialog ("SETUP_DIALOG").
#pragma once

#include <windows.h>

#include <string>

namespace enginedialogs {

constexpr int kPasswordEdit = 101;
constexpr int kPasswordOk = 102;
constexpr int kPasswordCancel = 103;
constexpr int kPasswordLabel = 4;

constexpr int kMouseInteractionBox = 10;
constexpr int kRightClickMenuBox = 11;
constexpr int kKeyboardInteractionBox = 12;
constexpr int kSoundMuteBox = 13;
constexpr int kMidiMuteBox = 14;

// A shown dialog (class "#32770") of the process that holds a control with the id; nullptr when
// none appears in time.
HWND WaitForDialogWithControl(DWORD processId, int controlId, DWORD timeoutMs = 20000);
HWND WaitForPasswordDialog(DWORD processId);
HWND WaitForSetupDialog(DWORD processId);

// Characters typed into a control, then Enter pressed on it (key down and up: the engine's own
// message loop makes the character of the key).
void TypeText(HWND control, const std::string& text);
void PressEnter(HWND control);
// A click on a button (push button or check box).
void Click(HWND button);
// A user's click on a check box of the dialog; returns whether its check mark changed. Waits for
// the engine to take the click: a message posted afterwards (the close box, say) would otherwise
// overtake the mouse input, which a thread's queue hands out after posted messages.
bool ToggleBox(HWND dialog, int id);
// The caption's close box.
void PressCloseBox(HWND window);

// Waits until the window is gone.
bool WaitUntilGone(HWND window, DWORD timeoutMs = 20000);

// A box of the Setup dialog: shown, enabled, checked, and its top-left corner in dialog client pixels.
struct BoxState {
    bool Visible = false;
    bool Enabled = false;
    bool Checked = false;
    POINT Place{};
};
BoxState ReadBox(HWND dialog, int id);

// The per-user value of a section, "" when missing.
std::string PelluxValue(const std::string& section, const std::string& name);

}  // namespace enginedialogs
