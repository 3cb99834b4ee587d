// A CBT hook procedure that refuses to let the engine's host window be created, so that a test
// can see how a start without a host window ends. Installed system-wide by the test itself.
#include <windows.h>

extern "C" LRESULT CALLBACK BlockHostWindow(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        char name[64] = {};
        GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name);
        if (lstrcmpA(name, "GaGaOrbelinWindow") == 0) return 1;  // non-zero: creation refused
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
