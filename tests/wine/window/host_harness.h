// A host window driven as the engine drives it, without the engine: a window procedure that hands
// the geometry messages and the full-screen commands to HostWindow, and a stand-in projector window.
#pragma once

#include <windows.h>

#include <string>

#include "payload/options.h"
#include "window/win32/host_window.h"

namespace windowtest {

constexpr WPARAM kEnterFullScreen = 132;
constexpr WPARAM kLeaveFullScreen = 133;

// One host at a time; the window procedure finds it through Current().
class HostHarness {
public:
    HostHarness();
    ~HostHarness();
    HostHarness(const HostHarness&) = delete;
    HostHarness& operator=(const HostHarness&) = delete;

    // The constructor steps: screen size first, then the settings, then the window.
    void Create(const Options& settings);
    static HostHarness*& Current();

    Options Opt;
    HostWindow Host;
    int SizeMessages = 0;
};

// A plain window standing in for the projector: top-level with the given client size, or a child.
class FakeProjector {
public:
    FakeProjector(int clientWidth, int clientHeight, HWND parent = nullptr);
    ~FakeProjector();
    FakeProjector(const FakeProjector&) = delete;
    FakeProjector& operator=(const FakeProjector&) = delete;
    HWND Handle() const { return handle_; }

private:
    HWND handle_ = nullptr;
};

RECT WindowRect(HWND window);
RECT ClientRect(HWND window);
std::string WindowText(HWND window);
std::string ClassName(HWND window);
int Width(const RECT& r);
int Height(const RECT& r);

}  // namespace windowtest
