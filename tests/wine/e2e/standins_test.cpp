// The stand-in projector, hook library and BeforeShow library are what the end-to-end tests run
// the engine against; these tests make sure the stand-ins themselves keep their side of the
// contract, so an end-to-end failure points at the engine.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "engine/shared_control_block.h"
#include "standins/common/slot_suffix.h"
#include "support/standin_report.h"
#include "support/test_files.h"

namespace {

using testsupport::BinPath;
using testsupport::TempDir;

constexpr UINT kFullScreenFallback = 20048;
constexpr UINT kFullScreenMenuItem = 40010;  // the stand-in's own "Full Screen" item
constexpr UINT kMovieReady = WM_USER + 4;

// A started projector; ended (if still running) and its handles closed at the end of the test.
struct StartedProcess {
    PROCESS_INFORMATION info = {};
    ~StartedProcess() {
        if (info.hProcess && WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(info.hProcess, 99);
            WaitForSingleObject(info.hProcess, 5000);
        }
        if (info.hThread) CloseHandle(info.hThread);
        if (info.hProcess) CloseHandle(info.hProcess);
    }
    // The exit code, or STILL_ACTIVE when it did not end within the time. Pumps this thread's
    // queue meanwhile: a projector inside a host window of this thread sends to it while closing.
    DWORD WaitForExit(DWORD ms) const {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < ms &&
               MsgWaitForMultipleObjects(1, &info.hProcess, FALSE, 50, QS_ALLINPUT) != WAIT_OBJECT_0) {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        }
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(info.hProcess, &code);
        return code;
    }
};

// This process's environment plus the given NAME=value entries, as a CreateProcess block.
std::vector<char> EnvironmentWith(const std::vector<std::string>& extra) {
    std::vector<char> block;
    char* current = GetEnvironmentStringsA();
    for (const char* entry = current; *entry; entry += std::strlen(entry) + 1)
        block.insert(block.end(), entry, entry + std::strlen(entry) + 1);
    FreeEnvironmentStringsA(current);
    for (const std::string& entry : extra) block.insert(block.end(), entry.c_str(), entry.c_str() + entry.size() + 1);
    block.push_back('\0');
    return block;
}

// Started as the engine starts the projector: off-screen at (5000, -5000), shown normally.
void StartProjector(StartedProcess& process, const std::string& exe, const std::vector<std::string>& environment,
                    const std::string& directory = "", DWORD flags = 0) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USEPOSITION | STARTF_FORCEOFFFEEDBACK;
    startup.dwX = 5000;
    startup.dwY = static_cast<DWORD>(-5000);
    startup.wShowWindow = SW_SHOWNORMAL;
    std::vector<char> block = EnvironmentWith(environment);
    const std::string path = BinPath(exe);
    ASSERT_TRUE(CreateProcessA(path.c_str(), nullptr, nullptr, nullptr, FALSE, flags, block.data(),
                               directory.empty() ? nullptr : directory.c_str(), &startup, &process.info))
        << path;
}

// GetProcAddress's result as the export's real type (through void* to keep the compiler quiet).
template <typename Function>
Function ExportOf(HMODULE library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

BOOL CALLBACK TakeProjectorWindow(HWND window, LPARAM found) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    if (std::string(name) != "ShockwaveFlash") return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

HWND WaitForProjectorWindow(DWORD threadId) {
    HWND found = nullptr;
    for (int tries = 0; tries < 200 && !found; ++tries) {
        EnumThreadWindows(threadId, TakeProjectorWindow, reinterpret_cast<LPARAM>(&found));
        if (!found) Sleep(50);
    }
    return found;
}

// Pumps this thread's queue for the given time, or until done() holds.
template <typename Done>
void PumpFor(DWORD ms, Done done) {
    const DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < ms) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(10);
    }
}

// A stand-in for the engine's host window that counts the movie-ready messages it receives.
int g_movieReadyCount = 0;
LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kMovieReady) ++g_movieReadyCount;
    return DefWindowProcA(window, message, wParam, lParam);
}

struct HostWindow {
    HWND window = nullptr;
    HostWindow() {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = HostProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "StandinTestHost";
        RegisterClassA(&windowClass);
        window = CreateWindowExA(0, "StandinTestHost", "host", WS_POPUP, 100, 100, 400, 300, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    }
    ~HostWindow() { DestroyWindow(window); }
};

TEST(StandinProjector, CarriesTheProductVersionItIsBuiltAs) {
    const struct { const char* exe; WORD major; } cases[] = {{"standin_projector5.exe", 5}, {"standin_projector10.exe", 10}};
    for (const auto& c : cases) {
        const std::string path = BinPath(c.exe);
        DWORD ignored = 0;
        std::vector<char> data(GetFileVersionInfoSizeA(path.c_str(), &ignored));
        ASSERT_FALSE(data.empty()) << c.exe;
        ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(data.size()), data.data()));
        VS_FIXEDFILEINFO* info = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &length));
        EXPECT_EQ(HIWORD(info->dwProductVersionMS), c.major) << c.exe;
        EXPECT_EQ(LOWORD(info->dwProductVersionMS), 0) << c.exe;
    }
}

TEST(StandinProjector, ShowsAFramedWindowWithMenuAtTheStartPositionAndEndsOnClose) {
    StartedProcess projector;
    StartProjector(projector, "standin_projector10.exe", {});
    const HWND window = WaitForProjectorWindow(projector.info.dwThreadId);
    ASSERT_NE(window, nullptr);

    const LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_THICKFRAME);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_NE(GetMenu(window), nullptr);
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 5000);
    EXPECT_EQ(rect.top, -5000);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 550);
    EXPECT_EQ(client.bottom, 400);

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(projector.WaitForExit(10000), 0u);
}

TEST(StandinProjector, FullScreenCommandOfATopLevelWindowDropsFrameAndMenuAndCoversTheScreen) {
    for (UINT command : {kFullScreenFallback, kFullScreenMenuItem}) {
        StartedProcess projector;
        StartProjector(projector, "standin_projector10.exe", {});
        const HWND window = WaitForProjectorWindow(projector.info.dwThreadId);
        ASSERT_NE(window, nullptr);

        SendMessageA(window, WM_COMMAND, command, 0);
        const LONG style = GetWindowLongA(window, GWL_STYLE);
        EXPECT_FALSE(style & WS_THICKFRAME) << command;
        EXPECT_NE(style & WS_CAPTION, WS_CAPTION) << command;
        EXPECT_EQ(GetMenu(window), nullptr) << command;
        RECT rect;
        GetWindowRect(window, &rect);
        EXPECT_EQ(rect.left, 0) << command;
        EXPECT_EQ(rect.top, 0) << command;
        EXPECT_EQ(rect.right, GetSystemMetrics(SM_CXSCREEN)) << command;
        EXPECT_EQ(rect.bottom, GetSystemMetrics(SM_CYSCREEN)) << command;

        PostMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(projector.WaitForExit(10000), 0u) << command;
    }
}

// The engine may make the window its child before the command (a newer projector): the window then
// keeps its parent and its place inside it.
TEST(StandinProjector, FullScreenCommandInsideAHostKeepsParentAndPlace) {
    HostWindow host;
    ASSERT_NE(host.window, nullptr);
    StartedProcess projector;
    StartProjector(projector, "standin_projector10.exe", {});
    const HWND window = WaitForProjectorWindow(projector.info.dwThreadId);
    ASSERT_NE(window, nullptr);

    SetParent(window, host.window);
    SetWindowPos(window, nullptr, 0, 0, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(window, WM_COMMAND, kFullScreenFallback, 0);

    EXPECT_EQ(GetAncestor(window, GA_PARENT), host.window);
    EXPECT_FALSE(GetWindowLongA(window, GWL_STYLE) & WS_THICKFRAME);
    EXPECT_EQ(GetMenu(window), nullptr);
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, host.window, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, 400);
    EXPECT_EQ(rect.bottom, 300);

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(projector.WaitForExit(10000), 0u);
}

TEST(StandinProjector, EndsByItselfWhenTold) {
    const std::vector<std::string> cases[] = {{"STANDIN_EXIT_AT_ONCE=1"}, {"STANDIN_EXIT_AFTER_MS=300"}};
    for (const auto& environment : cases) {
        StartedProcess projector;
        StartProjector(projector, "standin_projector5.exe", environment);
        EXPECT_EQ(projector.WaitForExit(10000), 0u) << environment[0];
    }
}

TEST(StandinProjector, ReportsEnvironmentAndSharedBlockAndWritesItsDataFiles) {
    TempDir temp("standin");
    const std::string slot = std::to_string(800 + GetCurrentProcessId() % 100);  // clear of real engines
    const std::string workDir = temp.File("Obl_Rt" + slot + "\\");
    ASSERT_TRUE(CreateDirectoryA(workDir.c_str(), nullptr));
    const std::string startDir = temp.File("start");
    ASSERT_TRUE(CreateDirectoryA(startDir.c_str(), nullptr));
    const std::string report = temp.File("report.txt");

    // A block under the name the engine of that slot would use, with recognisable fields.
    const std::string mappingName = "PelluxRunnerMapping_OBL_RT" + slot;
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSharedMappingSize,
                                        mappingName.c_str());
    ASSERT_NE(mapping, nullptr);
    auto* block = static_cast<SharedControlBlock*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, kSharedViewSize));
    ASSERT_NE(block, nullptr);
    block->HostWindow = 0x12345678;
    block->PassEsc = 0xAB;

    StartedProcess projector;
    StartProjector(projector, "standin_projector10.exe",
                   {"STANDIN_REPORT=" + report, "STANDIN_WRITE_DAT=1", "OrbelinLocalDir_RootDir=" + workDir,
                    "OrbelinEngine_WH=4242"},
                   startDir);
    const HWND window = WaitForProjectorWindow(projector.info.dwThreadId);
    ASSERT_NE(window, nullptr);

    testsupport::StandinReport values;
    PumpFor(10000, [&] {
        values = testsupport::ReadStandinReport(report);
        return values.Value("block").size() == 2 * kSharedViewSize;
    });
    EXPECT_EQ(values.Value("mapping"), mappingName);
    ASSERT_EQ(values.Value("block").size(), 2 * kSharedViewSize);
    EXPECT_EQ(values.Value("block").substr(2 * 0x034, 8), "78563412");
    EXPECT_EQ(values.Value("block").substr(2 * 0x548, 2), "AB");
    EXPECT_EQ(values.Env("OrbelinEngine_WH"), "4242");
    EXPECT_EQ(values.Env("OrbelinLocalDir_RootDir"), workDir);
    EXPECT_EQ(values.Value("cwd"), startDir);
    EXPECT_EQ(values.Value("window"), std::to_string(reinterpret_cast<uintptr_t>(window)));
    EXPECT_EQ(values.Value("parent"), "0");
    EXPECT_TRUE(testsupport::FileExists(startDir + "\\movie.dat"));
    EXPECT_TRUE(testsupport::FileExists(workDir + "state.dat"));

    // Taken into a host: the report follows.
    HostWindow host;
    SetParent(window, host.window);
    PumpFor(10000, [&] {
        values = testsupport::ReadStandinReport(report);
        return values.Value("parent") != "0";
    });
    EXPECT_EQ(values.Value("parent"), std::to_string(reinterpret_cast<uintptr_t>(host.window)));

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(projector.WaitForExit(10000), 0u);
    UnmapViewOfFile(block);
    CloseHandle(mapping);
}

// Slot 0 has no number in its names; the stand-ins must still find slot 0's block.
TEST(StandinSlotSuffix, FollowsTheNamesTheEngineGives) {
    const struct { const char* libraryPath; const char* workDir; const char* suffix; } cases[] = {
        {"C:\\t\\Obl_Rt\\quenbyrun0.dll", "C:\\t\\Obl_Rt\\", "_OBL_RT"},
        {"C:\\t\\Obl_Rt3\\quenbyrun3.dll", "C:\\t\\Obl_Rt3\\", "_OBL_RT3"},
        {"quenbyrun12.dll", "Obl_Rt12", "_OBL_RT12"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(standin::SuffixFromLibraryPath(c.libraryPath), c.suffix) << c.libraryPath;
        EXPECT_EQ(standin::SuffixFromWorkDir(c.workDir), c.suffix) << c.workDir;
    }
    // Names that carry no usable slot: the stand-ins then leave the engine's objects alone.
    for (const char* name : {"quenbyrun.dll", "quenbyrun-1.dll", "C:\\t\\quenbyrun"})
        EXPECT_EQ(standin::SuffixFromLibraryPath(name), "") << name;
    for (const char* dir : {"C:\\t\\Other\\", "C:\\t\\Obl_Rtx\\", ""})
        EXPECT_EQ(standin::SuffixFromWorkDir(dir), "") << dir;
}

TEST(StandinHookLibrary, ExportsTheProceduresTheEngineLooksUp) {
    const struct { const char* dll; bool hasSProc; } cases[] = {{"quenbyrun.dll", true}, {"quenbyrun_nosproc.dll", false}};
    for (const auto& c : cases) {
        HMODULE library = LoadLibraryA(BinPath(c.dll).c_str());
        ASSERT_NE(library, nullptr) << c.dll;
        for (const char* name : {"MProc", "KProc", "CProc", "GProc", "WProc", "FProc"})
            EXPECT_NE(GetProcAddress(library, name), nullptr) << c.dll << " " << name;
        EXPECT_EQ(GetProcAddress(library, "SProc") != nullptr, c.hasSProc) << c.dll;
        FreeLibrary(library);
    }
}

// The library runs in the projector through hooks on the projector's thread (thread hooks here,
// so nothing else on the desktop is touched) and reports the movie as ready exactly once, and only
// when the projector window is shown inside the host window named in the block.
TEST(StandinHookLibrary, ReportsTheMovieReadyOnceTheProjectorIsShownInTheHost) {
    TempDir temp("standin");
    const int slot = 900 + static_cast<int>(GetCurrentProcessId() % 100);
    const std::string libraryPath = temp.File("quenbyrun" + std::to_string(slot) + ".dll");
    ASSERT_TRUE(CopyFileA(BinPath("quenbyrun.dll").c_str(), libraryPath.c_str(), FALSE));

    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSharedMappingSize,
                                        ("PelluxRunnerMapping_OBL_RT" + std::to_string(slot)).c_str());
    ASSERT_NE(mapping, nullptr);
    auto* block = static_cast<SharedControlBlock*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, kSharedViewSize));
    ASSERT_NE(block, nullptr);
    HostWindow host;
    block->HostWindow = HandleToField(host.window);
    g_movieReadyCount = 0;

    StartedProcess projector;
    StartProjector(projector, "standin_projector10.exe",
                   {"OrbelinEngine_ID=" + std::to_string(GetCurrentProcessId())}, "", CREATE_SUSPENDED);
    block->ProjectorProcessId = projector.info.dwProcessId;
    block->ProjectorThreadId = projector.info.dwThreadId;

    HMODULE library = LoadLibraryA(libraryPath.c_str());
    ASSERT_NE(library, nullptr);
    const auto getMessageProc = ExportOf<HOOKPROC>(library, "GProc");
    const auto cbtProc = ExportOf<HOOKPROC>(library, "CProc");
    HHOOK getMessageHook = SetWindowsHookExA(WH_GETMESSAGE, getMessageProc, library, projector.info.dwThreadId);
    HHOOK cbtHook = SetWindowsHookExA(WH_CBT, cbtProc, library, projector.info.dwThreadId);
    ASSERT_NE(getMessageHook, nullptr);
    ASSERT_NE(cbtHook, nullptr);
    ResumeThread(projector.info.hThread);

    const HWND window = WaitForProjectorWindow(projector.info.dwThreadId);
    ASSERT_NE(window, nullptr);
    block->ProjectorWindow = HandleToField(window);

    // Visible, but not yet inside the host: no report.
    PumpFor(600, [] { return false; });
    EXPECT_EQ(g_movieReadyCount, 0);

    SetParent(window, host.window);
    ShowWindow(host.window, SW_SHOWNA);
    SetWindowPos(window, nullptr, 0, 0, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    PumpFor(10000, [] { return g_movieReadyCount > 0; });
    PumpFor(600, [] { return false; });
    EXPECT_EQ(g_movieReadyCount, 1);

    UnhookWindowsHookEx(cbtHook);
    UnhookWindowsHookEx(getMessageHook);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(projector.WaitForExit(10000), 0u);
    FreeLibrary(library);
    UnmapViewOfFile(block);
    CloseHandle(mapping);
}

TEST(StandinBeforeShow, AppendsHostAndArgumentsToItsLog) {
    TempDir temp("standin");
    const std::string log = temp.File("beforeshow.log");
    SetEnvironmentVariableA("STANDIN_BEFORESHOW_LOG", log.c_str());
    HMODULE library = LoadLibraryA(BinPath("standin_beforeshow.dll").c_str());
    ASSERT_NE(library, nullptr);
    using BeforeShowProc = void(__stdcall*)(char*, HWND, const char*);
    const auto beforeShow = ExportOf<BeforeShowProc>(library, "BeforeShow");
    ASSERT_NE(beforeShow, nullptr);
    char scratch[256] = {};
    beforeShow(scratch, reinterpret_cast<HWND>(static_cast<uintptr_t>(1234)), "one two");
    beforeShow(scratch, reinterpret_cast<HWND>(static_cast<uintptr_t>(99)), "");
    FreeLibrary(library);
    SetEnvironmentVariableA("STANDIN_BEFORESHOW_LOG", nullptr);

    const std::vector<uint8_t> bytes = testsupport::ReadFileBytes(log);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "host=1234 args=one two\r\nhost=99 args=\r\n");
}

}  // namespace
