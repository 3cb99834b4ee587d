// The Setup dialog ("SETUP_DIALOG"): the end user's editor for the five per-user options.
// TfrmMain::ShowSetupDialog builds, runs and closes it (window/win32/setup_dialog.cpp).
#pragma once

#include <windows.h>

#include "window/win32/window_message_handlers.h"

// The open Setup dialog's window, nullptr when none is open: the host focuses it on a second
// Setup command and closes it on Close and at the end of the Windows session.
HWND OpenSetupDialogWindow();

extern const char kSetupDialogTemplate[];     // "SETUP_DIALOG"
extern const char kSetupDialogCreateError[];  // "Error creating Setup dialog"

namespace hostmessages {

// Command 130 (the popup menu's "Setup", the movie's "setup"): focuses an open dialog, otherwise
// runs it; when the options changed, the projector is closed and the engine runs again.
HandlerResult OnSetupCommand(TfrmMain& main, const WindowMessage& message);

}  // namespace hostmessages
