#include "engine/win32/hook_library.h"

#include <cstring>

#include "commands/win32/win32_classes_root_reader.h"
#include "engine/engine_names.h"
#include "engine/hook_load_message.h"
#include "engine/win32/message_pump.h"
#include "engine/win32/tfrm_main.h"

namespace {

// A CBT hook that will not come off is retried this long, beeping and pumping, then left to
// the system (it is removed when the engine's thread ends).
constexpr DWORD kCbtUnhookRetryMs = 3000;
constexpr DWORD kCbtUnhookPauseMs = 50;
constexpr DWORD kHookCodeSettleMs = 111;

uint8_t Flag(bool value) { return value ? 1 : 0; }

struct HookProcedures {
    HOOKPROC Mouse, Keyboard, Cbt, GetMessage;
};

// All seven exports must exist, looked up in this order; four of them become hooks.
bool LookUpExports(HMODULE library, HookProcedures& procs) {
    const char* const names[] = {engine_names::kMouseProc,      engine_names::kKeyboardProc,
                                 engine_names::kCbtProc,        engine_names::kGetMessageProc,
                                 engine_names::kWProc,          engine_names::kFProc,
                                 engine_names::kSProc};
    FARPROC found[7] = {};
    for (int i = 0; i < 7; ++i) {
        found[i] = GetProcAddress(library, names[i]);
        if (!found[i]) return false;
    }
    procs.Mouse = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(found[0]));
    procs.Keyboard = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(found[1]));
    procs.Cbt = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(found[2]));
    procs.GetMessage = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(found[3]));
    return true;
}

bool InstallHook(UniqueHook& hook, int type, HOOKPROC proc, HMODULE library) {
    hook.reset(SetWindowsHookExA(type, proc, library, 0));
    return static_cast<bool>(hook);
}

void ShowLoadFailure(const HookLibraryRequest& request, DWORD error) {
    const bool exists = GetFileAttributesA(request.LibraryPath.c_str()) != INVALID_FILE_ATTRIBUTES;
    const std::string text = HookLibraryLoadFailureText(exists, SystemErrorText(error));
    if (request.ShowMessage)
        request.ShowMessage(request.HostWindow, text, request.ProgramPath);
    else
        MessageBoxA(request.HostWindow, text.c_str(), request.ProgramPath.c_str(), MB_OK);
}

}  // namespace

std::string SystemErrorText(DWORD error) {
    char buffer[256] = {};
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                           FORMAT_MESSAGE_ARGUMENT_ARRAY,
                       nullptr, error, 0, buffer, sizeof buffer, nullptr);
    return std::string(buffer, length);
}

bool SetUpHookLibrary(const HookLibraryRequest& request, HookLibraryParts& parts) {
    const Options& opt = *request.Opt;

    // 1-2: the mapping and its view.
    parts.Mapping.reset(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                           kSharedMappingSize,
                                           MappingName(request.SlotSuffix).c_str()));
    if (!parts.Mapping) return false;
    parts.View.reset(MapViewOfFile(parts.Mapping.get(), FILE_MAP_ALL_ACCESS, 0, 0, kSharedViewSize));
    if (!parts.View) return false;
    parts.Block = static_cast<SharedControlBlock*>(parts.View.get());
    SharedControlBlock& block = *parts.Block;

    // 3: the library.
    parts.Library.reset(LoadLibraryA(request.LibraryPath.c_str()));
    if (!parts.Library) {
        ShowLoadFailure(request, GetLastError());
        return false;
    }

    // 4: the exports.
    HookProcedures procs;
    if (!LookUpExports(parts.Library.get(), procs)) return false;

    // 5-6: a fresh block, so one left over from an earlier engine of this slot has no effect.
    std::memset(&block, 0, sizeof block);
    block.Constant058 = 1;
    if (request.LookUpWebPageHandler) request.LookUpWebPageHandler();

    // 7-9: keyboard, get-message and CBT hooks, each with the fields it relies on in place first.
    HMODULE library = parts.Library.get();
    if (!InstallHook(parts.KeyboardHook, WH_KEYBOARD, procs.Keyboard, library)) return false;
    block.FramePaintingSuspended = 1;
    block.DisableScreenSaver = Flag(opt.DisableScreenSaver.Value);
    block.DisableWindowsKeys = Flag(opt.DisableW95Key.Value);
    if (!InstallHook(parts.GetMessageHook, WH_GETMESSAGE, procs.GetMessage, library)) return false;
    block.GetMessageHookInstalled = 1;
    if (!InstallHook(parts.CbtHook, WH_CBT, procs.Cbt, library)) return false;

    // 10-11: mouse settings, and the mouse hook only when one of them needs it.
    block.SuppressRightClickMenu = Flag(!opt.RightClickMenu.Value);
    block.ProjectorWindow = 0;
    block.MenuItemClose = Flag(opt.CloseMenu.Value);
    block.MenuItemSetup = Flag(opt.SetupMenu.Value);
    block.MenuItemMinimize = Flag(opt.MinimizeMenu.Value);
    block.MouseClickExits = Flag(!opt.Interaction.Value);
    block.Draggable = Flag(opt.Draggable.Value);
    if (block.SuppressRightClickMenu || block.MouseClickExits || block.Draggable) {
        if (!InstallHook(parts.MouseHook, WH_MOUSE, procs.Mouse, library)) return false;
    }

    // 12: everything else, once all hooks are in.
    block.ProjectorMajorVersion = static_cast<uint32_t>(opt.Major);
    for (int i = 0; i < kMenuItemsToDeleteCount; ++i)
        block.MenuItemsToDelete[i] = static_cast<uint32_t>(opt.RightMenuDeleteItems[i]);
    block.HideCursor = Flag(opt.HideCursor != 0);  // 256 is on too, not its low byte
    block.HostWindowCopy = HandleToField(request.HostWindow);
    block.HostWindow = HandleToField(request.HostWindow);
    block.ProjectorProcessId = 0;
    block.MouseHook = HandleToField(parts.MouseHook.get());
    block.KeyboardHook = HandleToField(parts.KeyboardHook.get());
    block.CbtHook = HandleToField(parts.CbtHook.get());
    block.GetMessageHook = HandleToField(parts.GetMessageHook.get());
    block.ReservedHook1 = 0;
    block.ReservedHook2 = 0;
    block.Reserved01C = 0;
    block.Constant045 = 0;
    block.Constant048 = 0;
    block.Constant047 = 0;
    block.Constant046 = 0;
    block.Constant044 = 1;
    block.ExitOnEsc = Flag(opt.ExitOnESC.Value);
    block.PassEsc = Flag(opt.PassESC != 0);
    block.Reserved03C = 0;
    block.EngineThreadId = GetCurrentThreadId();
    block.EngineProcessId = GetCurrentProcessId();

    // 13-14: the messages.
    parts.RunnerMessage = RegisterWindowMessageA(RunnerMessageName(request.SlotSuffix).c_str());
    if (parts.RunnerMessage == 0) return false;
    parts.ServerMessage = RegisterWindowMessageA(engine_names::kServerMessage);
    return parts.ServerMessage != 0;
}

void TearDownHookLibrary(HookLibraryParts& parts, const std::function<void()>& pumpMessages) {
    parts.KeyboardHook.reset();
    parts.MouseHook.reset();
    bool cbtHookLeft = false;
    if (parts.CbtHook) {
        const DWORD started = GetTickCount();
        for (;;) {
            const bool removed = UnhookWindowsHookEx(parts.CbtHook.get()) != FALSE;
            if (!removed) MessageBeep(0);
            if (pumpMessages) pumpMessages();
            if (removed) break;
            if (GetTickCount() - started >= kCbtUnhookRetryMs) {
                cbtHookLeft = true;
                break;
            }
            Sleep(kCbtUnhookPauseMs);
        }
        parts.CbtHook.release();  // removed, or given up: never tried again
    }
    parts.GetMessageHook.reset();
    // A hook still installed calls into the library: it stays loaded until the process ends.
    if (cbtHookLeft)
        parts.Library.release();
    else
        parts.Library.reset();
    if (parts.View) {
        SharedControlBlock& block = *static_cast<SharedControlBlock*>(parts.View.get());
        block.ProjectorProcessId = 0;
        block.Reserved01C = 0;
        block.ProjectorWindow = 0;
        block.HostWindow = 0;
        block.HostWindowCopy = 0;
        block.Reserved03C = 0;
        block.AnyKeyExits = 0;
        Sleep(kHookCodeSettleMs);  // hook code in other processes sees the cleared fields
        parts.Block = nullptr;
        parts.View.reset();
    }
    parts.Mapping.reset();
}

HookLibraryParts TfrmMain::HookParts() {
    return HookLibraryParts{MappingHandle, SharedView,     SharedBlock, HookLibrary,
                            KeyboardHook,  GetMessageHook, CbtHook,     MouseHook,
                            RunnerMessage, ServerMessage};
}

// The system's handler for web pages, for the hook library and the "dde:" requests. A value
// that is missing leaves its field as the zero fill made it.
void TfrmMain::LookUpWebPageHandler() {
    SharedBlock->DdeApplication.Length = 0;
    SharedBlock->DdeTopic.Length = 0;
    Win32ClassesRootReader registry;
    const WebPageHandler handler = FindWebPageHandler(registry);
    if (handler.OpenCommand) SetShortString(SharedBlock->WebPageOpenCommand, *handler.OpenCommand);
    if (handler.DdeApplication) SetShortString(SharedBlock->DdeApplication, *handler.DdeApplication);
    if (handler.DdeTopic) SetShortString(SharedBlock->DdeTopic, *handler.DdeTopic);
}

bool TfrmMain::SetUpHookLibrary() {
    // The full path is made before anything else, so that every later deletion of the library
    // file (cleanup, program end) names the file in the working directory even when this step
    // fails early.
    Placement.HookLibraryFile = WorkDir + Placement.HookLibraryFile;
    HookLibraryFileIsFullPath = true;
    HookLibraryRequest request;
    request.LibraryPath = Placement.HookLibraryFile;
    request.SlotSuffix = SlotSuffix;
    request.HostWindow = Host.Handle;
    request.ProgramPath = ProgramPath;
    request.Opt = &Opt;
    request.LookUpWebPageHandler = [this] { LookUpWebPageHandler(); };
    HookLibraryParts parts = HookParts();
    return ::SetUpHookLibrary(request, parts);
}

void TfrmMain::TearDownHookLibrary() {
    HookLibraryParts parts = HookParts();
    ::TearDownHookLibrary(parts, [] { PumpMessages(); });
}
