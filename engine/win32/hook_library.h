// Loading the hook library, installing its hooks and filling the shared control block: the free
// functions behind TfrmMain::SetUpHookLibrary and TfrmMain::TearDownHookLibrary.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "engine/shared_control_block.h"
#include "engine/win32/handles.h"
#include "payload/options.h"

// Shows a message box: owner, text, caption. MessageBoxA(..., MB_OK) in the engine.
using ShowMessageFn = std::function<void(HWND, const std::string&, const std::string&)>;

struct HookLibraryRequest {
    std::string LibraryPath;  // full path of the extracted library
    std::string SlotSuffix;
    HWND HostWindow = nullptr;
    std::string ProgramPath;  // caption of the load-failure message
    const Options* Opt = nullptr;
    std::function<void()> LookUpWebPageHandler;  // runs right after the zero fill
    ShowMessageFn ShowMessage;                   // empty: MessageBoxA
};

// Everything the setup creates, kept by the owner for the cleanup. Referenced, not owned, so the
// main object's own fields are filled in place as each step succeeds.
struct HookLibraryParts {
    UniqueHandle& Mapping;
    UniqueMappedView& View;
    SharedControlBlock*& Block;
    UniqueModule& Library;
    UniqueHook& KeyboardHook;
    UniqueHook& GetMessageHook;
    UniqueHook& CbtHook;
    UniqueHook& MouseHook;
    UINT& RunnerMessage;
    UINT& ServerMessage;
};

// Steps 1 to 14 in order; false at the first failure (only a library that cannot be loaded is
// reported, through request.ShowMessage). What was created stays in parts for the teardown.
bool SetUpHookLibrary(const HookLibraryRequest& request, HookLibraryParts& parts);

// Undoes the setup, whatever part of it was reached: keyboard, mouse, CBT (retried a bounded
// time, beeping and pumping between tries), get-message hooks; the library (left loaded when the
// CBT hook could not be removed); the block's window and process fields; 111 ms for hook code
// elsewhere to see them; the view; the mapping.
void TearDownHookLibrary(HookLibraryParts& parts, const std::function<void()>& pumpMessages);

// The system's text for an error code (FormatMessageA from the system table).
std::string SystemErrorText(DWORD error);
