// Exports of the stand-in hook library. The get-message and CBT hooks drive the movie-ready report;
// once the movie is shown, the hooks report the movie's input to the host (movie_input.h), and only
// the mouse hook ever swallows an event. WProc, FProc and SProc only have to exist (the library's
// .def file decides which names are exported).
#include <windows.h>

#include "movie_input.h"
#include "movie_ready_signal.h"
#include "winmm_call_log.h"

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        standin::RememberLibraryModule(instance);
        standin::StartWinmmCallLog();
    } else if (reason == DLL_PROCESS_DETACH) {
        standin::StopWinmmCallLog();
    }
    return TRUE;
}

LRESULT CALLBACK MProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && standin::OnMovieMouse(wParam)) return 1;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK KProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) standin::OnMovieKey(wParam, lParam);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK CProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0) {
        standin::CheckMovieReady();
        standin::OnMovieCbt(code, wParam);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK GProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        MSG* message = reinterpret_cast<MSG*>(lParam);
        standin::OnRetrievedMessage(message);
        if (message && wParam == PM_REMOVE) standin::OnMovieMessage(*message);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK WProc(int code, WPARAM wParam, LPARAM lParam) {
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK FProc(int code, WPARAM wParam, LPARAM lParam) {
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK SProc(int code, WPARAM wParam, LPARAM lParam) {
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // extern "C"
