#include "window/win32/host_window.h"

#include "window/host_placement.h"
#include "window/host_style.h"
#include "window/ratio_resize.h"
#include "window/win32/popup_menu.h"

const char kHostWindowClassName[] = "GaGaOrbelinWindow";

namespace {

// Where the projector window waits while the host changes its frame.
constexpr int kParkedPosition = -15000;

void RegisterHostClass(WNDPROC windowProcedure, HINSTANCE instance) {
    WNDCLASSA existing{};
    // Still registered by this module after a restart of the engine in the same process.
    if (GetClassInfoA(instance, kHostWindowClassName, &existing)) UnregisterClassA(kHostWindowClassName, instance);
    WNDCLASSA cls{};
    cls.lpfnWndProc = windowProcedure;
    cls.hInstance = instance;
    cls.lpszClassName = kHostWindowClassName;
    RegisterClassA(&cls);
}

void ParkProjector(HWND projector) {
    SetWindowPos(projector, nullptr, kParkedPosition, kParkedPosition, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

}  // namespace

void HostWindow::ReadScreenSize(Options& opt) {
    ClientSizeChanged = false;
    ScreenWidth = GetSystemMetrics(SM_CXSCREEN);
    ScreenHeight = GetSystemMetrics(SM_CYSCREEN);
    ClientWidth = ScreenWidth;
    ClientHeight = ScreenHeight;
    opt.Width = ScreenWidth;
    opt.Height = ScreenHeight;
}

void HostWindow::Create(Options& opt, WNDPROC windowProcedure, HINSTANCE instance) {
    RegisterHostClass(windowProcedure, instance);
    const HostStyle style = ComputeHostStyle(opt, CurrentOsFlags());
    const InitialHostRect rect = PlanInitialHostRect(opt, ScreenWidth, ScreenHeight);
    Handle = CreateWindowExA(style.ExStyle, kHostWindowClassName, "", style.Style, rect.X, rect.Y, rect.Width,
                             rect.Height, nullptr, nullptr, instance, nullptr);
    ReferenceWidth = rect.Width;
    ReferenceHeight = rect.Height;
    if (!Handle) return;  // later steps act on no window
    if (rect.Maximise) {
        SendMessageA(Handle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        // Its WM_SIZE may arrive before the window procedure reaches the main object: take the
        // maximised geometry here as that WM_SIZE would.
        OnSize(opt);
    }
    SetWindowTextA(Handle, opt.ScreenName.c_str());
    PopupMenu = BuildPopupMenu(opt);
    if (!opt.FullScreen.Value) {
        RECT client{};
        GetClientRect(Handle, &client);
        ClientWidth = client.right;
        ClientHeight = client.bottom;
    }
}

void HostWindow::FitHostToMovie(HWND projector, Options& opt) {
    if (!projector) return;
    SendMessageA(projector, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(opt.ScreenName.c_str()));
    if (opt.FullScreen.Value || opt.CustomSize.Value) return;
    RECT r{};
    GetClientRect(projector, &r);
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongA(Handle, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(Handle, GWL_EXSTYLE)));
    opt.Width = r.right - r.left;
    opt.Height = r.bottom - r.top;
    MoveWindow(Handle, opt.Left, opt.Top, opt.Width, opt.Height, FALSE);
    ReferenceWidth = opt.Width;
    ReferenceHeight = opt.Height;
}

void HostWindow::ApplyAlignment(Options& opt) const { ::ApplyAlignment(opt, ScreenWidth, ScreenHeight); }

bool HostWindow::EnterFullScreenMode(HWND projector, LPARAM lParam, const Options& opt) {
    if (lParam != 0 || !projector) return true;
    if (IsTrueFullScreen(opt) || FullScreenMode) return false;
    FullScreenMode = true;
    GetWindowRect(Handle, &SavedRect);
    RECT desktop{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    SavedStyle = GetWindowLongA(Handle, GWL_STYLE);
    ParkProjector(projector);
    SetWindowLongA(Handle, GWL_STYLE, WS_VISIBLE);
    AdjustWindowRectEx(&desktop, WS_VISIBLE, FALSE, static_cast<DWORD>(GetWindowLongA(Handle, GWL_EXSTYLE)));
    SetWindowPos(Handle, nullptr, desktop.left, desktop.top, desktop.right - desktop.left,
                 desktop.bottom - desktop.top, SWP_NOZORDER);
    return true;
}

bool HostWindow::LeaveFullScreenMode(HWND projector, LPARAM lParam, const Options& opt) {
    if (lParam != 0 || !projector) return true;
    if (IsTrueFullScreen(opt) || !FullScreenMode) return false;
    FullScreenMode = false;
    ParkProjector(projector);
    SetWindowLongA(Handle, GWL_STYLE, SavedStyle);
    SetWindowPos(Handle, nullptr, SavedRect.left, SavedRect.top, SavedRect.right - SavedRect.left,
                 SavedRect.bottom - SavedRect.top, SWP_NOZORDER);
    return true;
}

namespace {

void ReadWindowRect(HWND window, Options& opt) {
    RECT r{};
    if (!GetWindowRect(window, &r)) return;
    opt.Left = r.left;
    opt.Top = r.top;
    opt.Width = r.right - r.left;
    opt.Height = r.bottom - r.top;
}

}  // namespace

void HostWindow::OnMove(Options& opt) {
    if (Handle) ReadWindowRect(Handle, opt);
}

void HostWindow::OnSize(Options& opt) {
    // Messages sent while CreateWindowExA runs come before the handle is known.
    if (Handle) {
        ReadWindowRect(Handle, opt);
        RECT client{};
        if (GetClientRect(Handle, &client)) {
            ClientWidth = client.right;
            ClientHeight = client.bottom;
        }
    }
    ClientSizeChanged = true;
}

void HostWindow::OnSizing(WPARAM edge, RECT& proposed, const Options& opt) {
    if (!Handle || !opt.MaintainRatio.Value) return;
    RatioResize = true;
    POINT cursor{};
    GetCursorPos(&cursor);
    SizingRect r{proposed.left, proposed.top, proposed.right, proposed.bottom};
    KeepRatio(static_cast<uint32_t>(edge), r, {cursor.x, cursor.y}, {opt.Left, opt.Top, opt.Width, opt.Height},
              ReferenceWidth, ReferenceHeight);
    proposed = {r.Left, r.Top, r.Right, r.Bottom};
}
