#include "projector_window.h"

#include <memory>

#include "movie_commands.h"
#include "projector_report.h"
#include "standin_projector_colors.h"

namespace standin {
namespace {

constexpr UINT_PTR kReportTimer = 1;
constexpr UINT kReportIntervalMs = 200;
constexpr UINT_PTR kExitTimer = 2;
constexpr UINT_PTR kSendTimer = 3;
constexpr UINT kSendCheckIntervalMs = 100;

COLORREF ToColorRef(DemoColor color) { return RGB(color.red, color.green, color.blue); }

// One projector window per process; the window procedure reaches its state here.
struct ProjectorState {
    explicit ProjectorState(const TestControls& controls) : report(controls.reportPath), controls(controls) {}
    ProjectorReport report;
    ProjectorView view;
    TestControls controls;
    DWORD insideSince = 0;  // when the window was first seen inside its host
};
std::unique_ptr<ProjectorState> g_state;

HMENU CreateMenuBar() {
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, kCommandExit, "E&xit");
    HMENU view = CreatePopupMenu();
    AppendMenuA(view, MF_STRING, kCommandFullScreen, "Full &Screen\tCtrl+F");
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(view), "&View");
    return bar;
}

bool HasParentWindow(HWND window) {
    const HWND parent = GetAncestor(window, GA_PARENT);
    return parent && parent != GetDesktopWindow();
}

// As a player does: no menu bar, no frame, no caption. A top-level window then covers its monitor;
// a window the engine has already made its child keeps its place and its child style.
void EnterFullScreen(HWND window, UINT command) {
    SetMenu(window, nullptr);
    LONG style = GetWindowLongA(window, GWL_STYLE);
    style &= ~(WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    if (!(style & WS_CHILD)) style |= WS_POPUP;
    SetWindowLongA(window, GWL_STYLE, style);
    const LONG exStyle = GetWindowLongA(window, GWL_EXSTYLE);
    SetWindowLongA(window, GWL_EXSTYLE, exStyle & ~(WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME));

    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    if (!HasParentWindow(window) && GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
        const RECT& area = monitor.rcMonitor;
        SetWindowPos(window, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top, flags);
    } else {
        SetWindowPos(window, nullptr, 0, 0, 0, 0, flags | SWP_NOMOVE | SWP_NOSIZE);
    }
    InvalidateRect(window, nullptr, TRUE);
    g_state->view.fullScreenCommand = command;
    g_state->report.Refresh(g_state->view);
}

void PaintDemoPicture(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    const int width = client.right;
    const int height = client.bottom;

    HBRUSH shape = CreateSolidBrush(ToColorRef(kShapeColor));
    HGDIOBJ oldBrush = SelectObject(dc, shape);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    const int radius = (width < height ? width : height) / 5;
    Ellipse(dc, width / 2 - radius, height / 2 - radius, width / 2 + radius, height / 2 + radius);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(shape);

    RECT textArea = {kBackgroundMargin, height / 2 + radius, width - kBackgroundMargin, height - kBackgroundMargin};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ToColorRef(kTextColor));
    DrawTextA(dc, kDemoText, -1, &textArea, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EndPaint(window, &paint);
}

void OnTimer(HWND window, UINT_PTR timer) {
    if (timer == kReportTimer) {
        g_state->report.Refresh(g_state->view);
    } else if (timer == kExitTimer) {
        KillTimer(window, kExitTimer);
        PostMessageA(window, WM_CLOSE, 0, 0);
    } else if (timer == kSendTimer) {
        // Counted from the moment the window is inside its host, so the engine shows it first.
        if (!HasParentWindow(window)) return;
        const DWORD now = GetTickCount();
        if (!g_state->insideSince) g_state->insideSince = now ? now : 1;
        if (now - g_state->insideSince < g_state->controls.sendAfterMs) return;
        KillTimer(window, kSendTimer);
        SendMovieCommand(g_state->view, 0, g_state->controls.sendText);
        g_state->report.Refresh(g_state->view);
    }
}

LRESULT SendAndReport(WPARAM wParam, const std::string& text) {
    const LRESULT answer = SendMovieCommand(g_state->view, wParam, text);
    g_state->report.Refresh(g_state->view);
    return answer;
}

LRESULT CALLBACK ProjectorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: {
        const UINT command = LOWORD(wParam);
        if (command == kCommandFullScreen || command == kCommandFullScreenFallback) {
            EnterFullScreen(window, command);
            return 0;
        }
        if (command == kCommandExit) {
            PostMessageA(window, WM_CLOSE, 0, 0);
            return 0;
        }
        break;
    }
    case WM_KEYDOWN: {
        const std::string command = CommandForKey(wParam, GetKeyState(VK_SHIFT) < 0);
        if (!command.empty()) SendAndReport(0, command);
        return 0;
    }
    case WM_COPYDATA:
        if (!lParam) return 0;
        return SendAndReport(reinterpret_cast<const COPYDATASTRUCT*>(lParam)->dwData,
                             CopyDataText(*reinterpret_cast<const COPYDATASTRUCT*>(lParam)));
    case WM_PAINT:
        PaintDemoPicture(window);
        return 0;
    case WM_TIMER:
        OnTimer(window, wParam);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);  // WM_CLOSE: DestroyWindow
}

bool RegisterProjectorClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = ProjectorWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    windowClass.hbrBackground = CreateSolidBrush(ToColorRef(kBackgroundColor));  // lives as long as the process
    windowClass.lpszClassName = kProjectorWindowClass;
    return RegisterClassExA(&windowClass) != 0;
}

}  // namespace

HWND CreateProjectorWindow(HINSTANCE instance, int showCommand, const TestControls& controls) {
    if (!RegisterProjectorClass(instance)) return nullptr;
    g_state = std::make_unique<ProjectorState>(controls);

    // The position is left to the start record (the engine starts the projector off-screen).
    RECT frame = {0, 0, kDefaultClientWidth, kDefaultClientHeight};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, TRUE, 0);
    HWND window = CreateWindowExA(0, kProjectorWindowClass, "stagehost demo projector", WS_OVERLAPPEDWINDOW,
                                  CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                  nullptr, CreateMenuBar(), instance, nullptr);
    if (!window) return nullptr;
    g_state->view.window = window;

    ShowWindow(window, showCommand);
    UpdateWindow(window);
    if (controls.exitAfterMs) SetTimer(window, kExitTimer, controls.exitAfterMs, nullptr);
    if (!controls.sendText.empty()) SetTimer(window, kSendTimer, kSendCheckIntervalMs, nullptr);
    StartProgram(controls);
    if (g_state->report.Enabled()) {
        g_state->report.Refresh(g_state->view);
        SetTimer(window, kReportTimer, kReportIntervalMs, nullptr);
    }
    return window;
}

}  // namespace standin
