// Until the Setup dialog is written (its own file then replaces this one) no dialog is ever open.
#include "window/win32/window_message_handlers.h"

HWND OpenSetupDialogWindow() { return nullptr; }
