// Stand-in projector: a small GUI program that behaves, towards the engine, like the projector a
// distributable ships (a window to capture, a full-screen command, an end on WM_CLOSE), and that
// tests steer and observe through environment variables (test_controls.h).
#include <windows.h>

#include "projector_report.h"
#include "projector_window.h"
#include "test_controls.h"

namespace {

constexpr DWORD kWindowlessLifetimeMs = 15000;

// The show state the starting process asked for in its start record.
int RequestedShowCommand(int fallback) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    GetStartupInfoA(&startup);
    return (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : fallback;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    const standin::TestControls controls = standin::ReadTestControls();
    if (controls.exitAtOnce || controls.noWindow) {
        standin::ProjectorReport(controls.reportPath).Refresh(standin::ProjectorView{});
        if (controls.noWindow) Sleep(kWindowlessLifetimeMs);
        return 0;
    }

    if (!standin::CreateProjectorWindow(instance, RequestedShowCommand(showCommand), controls)) return 1;
    if (controls.writeDataFiles) standin::WriteDataFiles();

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
