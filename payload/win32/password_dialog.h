// The password prompt: the dialog of the template "PW_DIALOG", shown once per call.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

struct PasswordPromptTexts {
    std::string Caption;  // "Quenby Screen Name"
    std::string Label;    // "PWEditLabel"
};

// Runs the engine's message loop until the dialog window is gone (or the engine is told to quit).
using DialogLoop = std::function<void(HWND dialog)>;

// Shows the dialog owned by owner and returns the entered text, or kPasswordCancelMarker when it
// was not accepted (Cancel, the close box, a dialog that could not be created).
std::string PromptPassword(HWND owner, const PasswordPromptTexts& texts, const DialogLoop& runLoop);

// Texts the prompt shows or matches, spelled once.
extern const char kPasswordDialogTemplate[];       // "PW_DIALOG"
extern const char kPasswordDialogCreateError[];    // "Error creating PW dialog"
extern const char kErrorBoxCaption[];              // "Error"
inline constexpr int kPasswordLabelId = 4;
inline constexpr int kPasswordEditId = 101;
inline constexpr int kPasswordOkId = 102;
inline constexpr int kPasswordCancelId = 103;
