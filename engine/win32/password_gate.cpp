// The password gate of the run sequence and of the Setup dialog.
#include "engine/win32/dialog_loop.h"
#include "engine/win32/tfrm_main.h"
#include "payload/password_gate.h"
#include "payload/win32/password_dialog.h"

namespace {

constexpr DWORD kWrongEntryPauseMs = 333;

}  // namespace

bool TfrmMain::AskPassword() {
    const PasswordGateSteps steps{
        [this] { return PromptPassword(Host.Handle, {Opt.ScreenName, Opt.PWEditLabel}, RunDialogLoop); },
        [this] {
            Sleep(kWrongEntryPauseMs);
            MessageBoxA(Host.Handle, Opt.PWrong.c_str(), kErrorBoxCaption, MB_OK);
        },
    };
    return AskPasswordWith(Opt.Password == 1, Opt.AlignmentX, steps);
}
