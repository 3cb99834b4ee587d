// The Wine compatibility path of the capture: a container child of the host that carries the
// host's X11 window property and holds the projector.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>

#include "engine/win32/wine_paint_remedy.h"

namespace {

constexpr char kX11WindowProperty[] = "__wine_x11_whole_window";

class TopLevelWindow {
public:
    TopLevelWindow() {
        handle_ = CreateWindowExA(0, "STATIC", "host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 10, 10, 400, 300,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~TopLevelWindow() { DestroyWindow(handle_); }
    HWND Handle() const { return handle_; }

private:
    HWND handle_ = nullptr;
};

// Sets an environment variable for one test and restores its absence afterwards.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name) { SetVariable(value); }
    ~ScopedVariable() { SetVariable(""); }

private:
    void SetVariable(const char* value) {
        _putenv_s(name_, value);
        SetEnvironmentVariableA(name_, *value ? value : nullptr);
    }
    const char* name_;
};

void PumpFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(5);
    }
}

RECT RectInParent(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

TEST(WinePaintRemedy, TakenOnlyWhenTheHostCarriesTheX11Property) {
    TopLevelWindow host;
    ASSERT_NE(host.Handle(), nullptr);
    const bool hasProperty = GetPropA(host.Handle(), kX11WindowProperty) != nullptr;
    EXPECT_EQ(WinePaintRemedyNeeded(host.Handle()), hasProperty);
    {
        ScopedVariable off(kNoWinePaintFixVariable, "1");
        EXPECT_FALSE(WinePaintRemedyNeeded(host.Handle()));
    }
    // A child carries no X11 window of its own.
    HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, host.Handle(), nullptr, nullptr, nullptr);
    EXPECT_FALSE(WinePaintRemedyNeeded(child));
    EXPECT_FALSE(WinePaintRemedyNeeded(nullptr));
}

TEST(WinePaintRemedy, ContainerFillsTheClientAreaAndCarriesTheProperty) {
    TopLevelWindow host;
    HANDLE x11Window = GetPropA(host.Handle(), kX11WindowProperty);
    if (!x11Window) GTEST_SKIP() << "not running on Wine's X11 driver";

    HWND container = CreateProjectorContainer(host.Handle(), 400, 300);
    ASSERT_NE(container, nullptr);
    EXPECT_EQ(GetParent(container), host.Handle());
    EXPECT_TRUE(GetWindowLongA(container, GWL_STYLE) & WS_CHILD);
    EXPECT_EQ(GetPropA(container, kX11WindowProperty), x11Window);
    RECT rect = RectInParent(container);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, 400);
    EXPECT_EQ(rect.bottom, 300);

    FitProjectorContainer(container, 320, 200);
    rect = RectInParent(container);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, 320);
    EXPECT_EQ(rect.bottom, 200);
}

// Counts what a redraw of the whole window with its frame sends.
int g_erases = 0;
LRESULT CALLBACK CountingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) ++g_erases;
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(WinePaintRemedy, ProjectorRedrawnOnceAfterThePause) {
    TopLevelWindow host;
    if (!GetPropA(host.Handle(), kX11WindowProperty)) GTEST_SKIP() << "not running on Wine's X11 driver";
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = CountingProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "CountingProjector";
    RegisterClassA(&windowClass);

    HWND container = CreateProjectorContainer(host.Handle(), 400, 300);
    HWND projector = CreateWindowExA(0, "CountingProjector", "", WS_CHILD | WS_VISIBLE, 0, 0, 400, 300, container,
                                     nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(projector, nullptr);
    PumpFor(300);
    UpdateWindow(projector);
    g_erases = 0;

    ScheduleProjectorRedraw(container, projector);
    PumpFor(100);
    EXPECT_EQ(g_erases, 0) << "redrawn before the pause";
    PumpFor(700);
    EXPECT_EQ(g_erases, 1) << "one redraw about 250 ms after placing";
    PumpFor(400);
    EXPECT_EQ(g_erases, 1) << "the timer is one-shot";
}

}  // namespace
