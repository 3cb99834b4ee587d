#include "host_harness.h"

#include "support/engine_process.h"

#include <stdexcept>

namespace windowtest {
namespace {

LRESULT CALLBACK HarnessProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HostHarness* harness = HostHarness::Current();
    if (harness) {
        HostWindow& host = harness->Host;
        switch (message) {
            case WM_MOVE:
                host.OnMove(harness->Opt);
                break;
            case WM_SIZE:
                ++harness->SizeMessages;
                host.OnSize(harness->Opt);
                break;
            case WM_SIZING:
                host.OnSizing(wParam, *reinterpret_cast<RECT*>(lParam), harness->Opt);
                break;
            case WM_COMMAND: {
                // The test passes the projector handle in the window's user data.
                HWND projector = reinterpret_cast<HWND>(GetWindowLongPtrA(window, GWLP_USERDATA));
                bool callDefault = true;
                if (wParam == kEnterFullScreen) callDefault = host.EnterFullScreenMode(projector, lParam, harness->Opt);
                if (wParam == kLeaveFullScreen) callDefault = host.LeaveFullScreenMode(projector, lParam, harness->Opt);
                if (!callDefault) return 0;
                break;
            }
            default:
                break;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

const char kProjectorClass[] = "StageHostTestProjector";

void RegisterProjectorClass() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSA cls{};
    cls.lpfnWndProc = DefWindowProcA;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.lpszClassName = kProjectorClass;
    if (!RegisterClassA(&cls)) throw std::runtime_error("cannot register the projector class");
    registered = true;
}

}  // namespace

HostHarness::HostHarness() { Current() = this; }

HostHarness::~HostHarness() {
    if (Host.Handle) DestroyWindow(Host.Handle);
    Current() = nullptr;
}

HostHarness*& HostHarness::Current() {
    static HostHarness* current = nullptr;
    return current;
}

void HostHarness::Create(const Options& settings) {
    Host.ReadScreenSize(Opt);
    const int32_t screenWidth = Opt.Width, screenHeight = Opt.Height;
    Opt = settings;
    if (Opt.Width == 0) Opt.Width = screenWidth;
    if (Opt.Height == 0) Opt.Height = screenHeight;
    Host.Create(Opt, HarnessProcedure, GetModuleHandleA(nullptr));
    if (!Host.Handle) throw std::runtime_error("the host window was not created");
}

FakeProjector::FakeProjector(int clientWidth, int clientHeight, HWND parent) {
    RegisterProjectorClass();
    const DWORD style = parent ? WS_CHILD | WS_VISIBLE : WS_OVERLAPPEDWINDOW;
    RECT r{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&r, style, FALSE, 0);
    handle_ = CreateWindowExA(0, kProjectorClass, "projector", style, 0, 0, r.right - r.left, r.bottom - r.top,
                              parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!handle_) throw std::runtime_error("cannot create the projector stand-in");
}

FakeProjector::~FakeProjector() {
    if (IsWindow(handle_)) DestroyWindow(handle_);
}

RECT WindowRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

RECT ClientRect(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return r;
}

std::string WindowText(HWND window) { return testsupport::WindowTextOf(window); }

std::string ClassName(HWND window) { return testsupport::ClassNameOf(window); }

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

}  // namespace windowtest
