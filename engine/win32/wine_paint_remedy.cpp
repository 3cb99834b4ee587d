#include "engine/win32/wine_paint_remedy.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr char kX11WindowProperty[] = "__wine_x11_whole_window";
constexpr char kContainerClass[] = "StageHostProjectorContainer";
constexpr UINT_PTR kRedrawTimer = 1;
constexpr UINT kRedrawDelayMs = 250;
constexpr UINT kRedrawFlags = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN;

LRESULT CALLBACK ContainerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kRedrawTimer) {
        KillTimer(window, kRedrawTimer);
        HWND projector = reinterpret_cast<HWND>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (projector && IsWindow(projector)) RedrawWindow(projector, nullptr, nullptr, kRedrawFlags);
        return 0;
    }
    if (message == WM_ERASEBKGND) return 1;  // the projector covers the whole container
    return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterContainerClass(HINSTANCE instance) {
    WNDCLASSA existing;
    if (GetClassInfoA(instance, kContainerClass, &existing)) return true;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ContainerProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kContainerClass;
    return RegisterClassA(&windowClass) != 0;
}

bool SwitchedOff() {
    const char* value = std::getenv(kNoWinePaintFixVariable);
    return value && std::strcmp(value, "1") == 0;
}

}  // namespace

bool WinePaintRemedyNeeded(HWND host) {
    return host && GetPropA(host, kX11WindowProperty) != nullptr && !SwitchedOff();
}

HWND CreateProjectorContainer(HWND host, int width, int height) {
    HANDLE x11Window = GetPropA(host, kX11WindowProperty);
    if (!x11Window) return nullptr;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!RegisterContainerClass(instance)) return nullptr;
    HWND container = CreateWindowExA(0, kContainerClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                                     0, 0, width, height, host, nullptr, instance, nullptr);
    if (container) SetPropA(container, kX11WindowProperty, x11Window);
    return container;
}

void FitProjectorContainer(HWND container, int width, int height) {
    if (container) SetWindowPos(container, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void ScheduleProjectorRedraw(HWND container, HWND projector) {
    if (!container) return;
    SetWindowLongPtrA(container, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(projector));
    SetTimer(container, kRedrawTimer, kRedrawDelayMs, nullptr);
}
