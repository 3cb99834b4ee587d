#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/hook_load_message.h"
#include "engine/shared_control_block.h"
#include "engine/win32/hook_library.h"
#include "support/test_files.h"

namespace {

using testsupport::TempDir;

// The owners the main object keeps, for one test.
struct Owned {
    UniqueHandle Mapping;
    UniqueMappedView View;
    SharedControlBlock* Block = nullptr;
    UniqueModule Library;
    UniqueHook Keyboard, GetMessage, Cbt, Mouse;
    UINT RunnerMessage = 0, ServerMessage = 0;
    HookLibraryParts Parts{Mapping, View, Block, Library, Keyboard, GetMessage, Cbt, Mouse,
                           RunnerMessage, ServerMessage};
    ~Owned() { TearDownHookLibrary(Parts, nullptr); }
};

Options TypicalOptions() {
    Options opt;
    opt.RightClickMenu.Value = true;
    opt.Interaction.Value = true;
    opt.Draggable.Value = false;
    opt.CloseMenu.Value = true;
    opt.SetupMenu.Value = false;
    opt.MinimizeMenu.Value = true;
    opt.ExitOnESC.Value = true;
    opt.PassESC = 1;
    opt.HideCursor = 1;
    opt.DisableScreenSaver.Value = true;
    opt.DisableW95Key.Value = false;
    opt.Major = 4;
    opt.RightMenuDeleteItems[0] = 7;  // a RightMenuDeleteItems section with Count 3
    opt.RightMenuDeleteItems[1] = 8;
    opt.RightMenuDeleteItems[2] = 0x1234;
    return opt;
}

const HWND kHost = reinterpret_cast<HWND>(uintptr_t{0x000A0B0C});

struct Fixture {
    TempDir Dir{"hook"};
    Options Opt = TypicalOptions();
    HookLibraryRequest Request;
    std::vector<std::string> Shown;  // text, caption of every message box
    int WebLookups = 0;

    // A built library is loaded where the build left it, never from a copy in the test's
    // directory: every process that a global hook reaches loads the library, and Wine's desktop
    // never lets it go, so a copy could not be deleted again. Without one (builtLibrary empty)
    // the path is the numbered on-disk name in the test's directory, for the test to fill.
    Fixture(const std::string& builtLibrary, const std::string& slotDigits) {
        const std::string path = builtLibrary.empty() ? Dir.File("quenbyrun" + slotDigits + ".dll")
                                                      : testsupport::BinPath(builtLibrary);
        Request.LibraryPath = path;
        Request.SlotSuffix = slotDigits == "0" ? "_OBL_RT" : "_OBL_RT" + slotDigits;
        Request.HostWindow = kHost;
        Request.ProgramPath = "C:\\Dist\\show.exe";
        Request.Opt = &Opt;
        Request.LookUpWebPageHandler = [this] { ++WebLookups; };
        Request.ShowMessage = [this](HWND, const std::string& text, const std::string& caption) {
            Shown.push_back(text);
            Shown.push_back(caption);
        };
    }
};

TEST(HookLibrary, FillsTheBlockAndLeavesOutTheMouseHookWhenNothingNeedsIt) {
    Fixture f("quenbyrun.dll", "3");
    // A block left over from an earlier engine of the same slot.
    UniqueHandle leftover(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                             kSharedMappingSize, "PelluxRunnerMapping_OBL_RT3"));
    ASSERT_TRUE(leftover);
    UniqueMappedView dirty(MapViewOfFile(leftover.get(), FILE_MAP_ALL_ACCESS, 0, 0, kSharedViewSize));
    std::memset(dirty.get(), 0xAB, kSharedViewSize);

    Owned o;
    ASSERT_TRUE(SetUpHookLibrary(f.Request, o.Parts));
    EXPECT_TRUE(f.Shown.empty());
    EXPECT_EQ(f.WebLookups, 1);
    ASSERT_EQ(o.Block, o.View.get());
    const SharedControlBlock& b = *static_cast<const SharedControlBlock*>(dirty.get());  // same block

    EXPECT_FALSE(o.Mouse);
    EXPECT_EQ(b.MouseHook, 0u);
    ASSERT_TRUE(o.Keyboard && o.GetMessage && o.Cbt);
    EXPECT_EQ(b.KeyboardHook, HandleToField(o.Keyboard.get()));
    EXPECT_EQ(b.CbtHook, HandleToField(o.Cbt.get()));
    EXPECT_EQ(b.GetMessageHook, HandleToField(o.GetMessage.get()));
    EXPECT_EQ(b.HostWindow, 0x000A0B0Cu);
    EXPECT_EQ(b.HostWindowCopy, 0x000A0B0Cu);
    EXPECT_EQ(b.EngineThreadId, GetCurrentThreadId());
    EXPECT_EQ(b.EngineProcessId, GetCurrentProcessId());
    EXPECT_EQ(b.Constant058, 1u);
    EXPECT_EQ(b.Constant044, 1);
    EXPECT_EQ(b.FramePaintingSuspended, 1);
    EXPECT_EQ(b.GetMessageHookInstalled, 1);
    EXPECT_EQ(b.DisableScreenSaver, 1);
    EXPECT_EQ(b.DisableWindowsKeys, 0);
    EXPECT_EQ(b.SuppressRightClickMenu, 0);
    EXPECT_EQ(b.MouseClickExits, 0);
    EXPECT_EQ(b.Draggable, 0);
    EXPECT_EQ(b.MenuItemClose, 1);
    EXPECT_EQ(b.MenuItemSetup, 0);
    EXPECT_EQ(b.MenuItemMinimize, 1);
    EXPECT_EQ(b.ExitOnEsc, 1);
    EXPECT_EQ(b.PassEsc, 1);
    EXPECT_EQ(b.HideCursor, 1);
    EXPECT_EQ(b.ProjectorMajorVersion, 4u);
    EXPECT_EQ(b.MenuItemsToDelete[0], 7u);
    EXPECT_EQ(b.MenuItemsToDelete[1], 8u);
    EXPECT_EQ(b.MenuItemsToDelete[2], 0x1234u);
    for (int i = 3; i < kMenuItemsToDeleteCount; ++i) EXPECT_EQ(b.MenuItemsToDelete[i], 0u) << i;
    // Everything the engine does not write is zero again.
    EXPECT_EQ(b.ProjectorProcessId, 0u);
    EXPECT_EQ(b.ProjectorWindow, 0u);
    EXPECT_EQ(b.Supervising, 0u);
    EXPECT_EQ(b.MovieReady, 0);
    EXPECT_EQ(b.ProjectorThreadId, 0u);
    EXPECT_EQ(b.ProjectorStartBegun, 0);
    EXPECT_EQ(b.StartDirectory.Length, 0);
    EXPECT_EQ(b.Reserved020[15], 0);
    EXPECT_EQ(b.Reserved54A[1], 0);

    EXPECT_EQ(o.RunnerMessage, RegisterWindowMessageA("PelluxRunnerMessage_OBL_RT3"));
    EXPECT_EQ(o.ServerMessage, RegisterWindowMessageA("PelluxRunnerSvrMessage"));
    EXPECT_NE(o.RunnerMessage, 0u);
}

TEST(HookLibrary, MouseHookIsInstalledWhenAnyMouseSettingNeedsIt) {
    struct Case {
        const char* name;
        bool rightClickMenu, interaction, draggable;
    } cases[] = {
        {"right-click menu suppressed", false, true, false},
        {"mouse click exits", true, false, false},
        {"draggable", true, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f("quenbyrun.dll", "0");
        f.Opt.RightClickMenu.Value = c.rightClickMenu;
        f.Opt.Interaction.Value = c.interaction;
        f.Opt.Draggable.Value = c.draggable;
        Owned o;
        ASSERT_TRUE(SetUpHookLibrary(f.Request, o.Parts));
        ASSERT_TRUE(o.Mouse);
        EXPECT_EQ(o.Block->MouseHook, HandleToField(o.Mouse.get()));
        EXPECT_EQ(o.Block->SuppressRightClickMenu, c.rightClickMenu ? 0 : 1);
        EXPECT_EQ(o.Block->MouseClickExits, c.interaction ? 0 : 1);
        EXPECT_EQ(o.Block->Draggable, c.draggable ? 1 : 0);
        UniqueHandle byName(OpenFileMappingA(FILE_MAP_READ, FALSE, "PelluxRunnerMapping_OBL_RT"));
        EXPECT_TRUE(byName) << "slot 0 maps under the plain suffix";
    }
}

TEST(HookLibrary, LibraryWithoutSProcFailsQuietlyBeforeAnyHook) {
    Fixture f("quenbyrun_nosproc.dll", "4");
    Owned o;
    EXPECT_FALSE(SetUpHookLibrary(f.Request, o.Parts));
    EXPECT_TRUE(f.Shown.empty());
    EXPECT_TRUE(o.Library) << "loaded, kept for the cleanup";
    EXPECT_FALSE(o.Keyboard || o.GetMessage || o.Cbt || o.Mouse);
    EXPECT_EQ(f.WebLookups, 0);
}

TEST(HookLibrary, UnloadableLibraryIsReportedWithTheSystemText) {
    struct Case {
        const char* name;
        bool writeGarbage;
        DWORD loadError;
        const char* prefix;
    } cases[] = {
        {"garbage file", true, ERROR_BAD_EXE_FORMAT, "quenbyrun.dll exists but have not loaded: "},
        {"missing file", false, ERROR_MOD_NOT_FOUND, "quenbyrun.dll not loaded: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f("", "5");
        if (c.writeGarbage) testsupport::WriteTextFile(f.Request.LibraryPath, "MZ? not a library");
        Owned o;
        EXPECT_FALSE(SetUpHookLibrary(f.Request, o.Parts));
        ASSERT_EQ(f.Shown.size(), 2u);
        EXPECT_EQ(f.Shown[0], c.prefix + TrimSystemErrorText(SystemErrorText(c.loadError)));
        EXPECT_GT(f.Shown[0].size(), std::strlen(c.prefix)) << "the system text is there";
        EXPECT_NE(f.Shown[0].back(), '.');
        EXPECT_NE(f.Shown[0].back(), '\n');
        EXPECT_EQ(f.Shown[1], "C:\\Dist\\show.exe");
        EXPECT_FALSE(o.Library);
        EXPECT_TRUE(o.View) << "the block stays for the cleanup";
    }
}

// The engine's own path: a real message box, read and closed from another thread.
struct BoxWatch {
    DWORD OwnerThread;
    std::string Caption, Text;
};

// A callback of the system: stdcall on i686, which a lambda is not.
BOOL CALLBACK FindDialogBox(HWND window, LPARAM found) {
    char cls[16] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (std::strcmp(cls, "#32770") != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

DWORD WINAPI ReadAndCloseBox(LPVOID parameter) {
    auto* watch = static_cast<BoxWatch*>(parameter);
    for (int tries = 0; tries < 200; ++tries) {
        HWND box = nullptr;
        EnumThreadWindows(watch->OwnerThread, FindDialogBox, reinterpret_cast<LPARAM>(&box));
        if (box) {
            char text[512] = {};
            GetWindowTextA(box, text, sizeof text);
            watch->Caption = text;
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the box's static text
            watch->Text = text;
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            return 0;
        }
        Sleep(50);
    }
    return 1;
}

TEST(HookLibrary, LoadFailureShowsAMessageBoxCaptionedWithTheProgramPath) {
    Fixture f("", "6");
    f.Request.ShowMessage = nullptr;
    f.Request.HostWindow = nullptr;
    BoxWatch watch{GetCurrentThreadId(), {}, {}};
    UniqueHandle watcher(CreateThread(nullptr, 0, ReadAndCloseBox, &watch, 0, nullptr));
    ASSERT_TRUE(watcher);
    Owned o;
    EXPECT_FALSE(SetUpHookLibrary(f.Request, o.Parts));
    ASSERT_EQ(WaitForSingleObject(watcher.get(), 15000), WAIT_OBJECT_0);
    EXPECT_EQ(watch.Caption, "C:\\Dist\\show.exe");
    EXPECT_EQ(watch.Text.rfind("quenbyrun.dll not loaded: ", 0), 0u) << watch.Text;
}

TEST(HookLibrary, TeardownClearsTheWindowFieldsAndReleasesEverything) {
    Fixture f("quenbyrun.dll", "7");
    f.Opt.Draggable.Value = true;
    Owned o;
    ASSERT_TRUE(SetUpHookLibrary(f.Request, o.Parts));
    o.Block->ProjectorProcessId = 1234;
    o.Block->ProjectorWindow = 0x5678;
    o.Block->AnyKeyExits = 1;
    UniqueHandle other(OpenFileMappingA(FILE_MAP_READ, FALSE, "PelluxRunnerMapping_OBL_RT7"));
    ASSERT_TRUE(other);
    UniqueMappedView watch(MapViewOfFile(other.get(), FILE_MAP_READ, 0, 0, kSharedViewSize));
    const auto& b = *static_cast<const SharedControlBlock*>(watch.get());

    int pumps = 0;
    TearDownHookLibrary(o.Parts, [&] { ++pumps; });
    EXPECT_GE(pumps, 1) << "the queue is pumped after the CBT unhook";
    EXPECT_FALSE(o.Keyboard || o.GetMessage || o.Cbt || o.Mouse || o.Library || o.View || o.Mapping);
    EXPECT_EQ(o.Block, nullptr);
    EXPECT_EQ(b.ProjectorProcessId, 0u);
    EXPECT_EQ(b.ProjectorWindow, 0u);
    EXPECT_EQ(b.HostWindow, 0u);
    EXPECT_EQ(b.HostWindowCopy, 0u);
    EXPECT_EQ(b.AnyKeyExits, 0);
    EXPECT_EQ(b.Constant044, 1) << "other fields are left as they were";
    EXPECT_NE(b.KeyboardHook, 0u);
}

}  // namespace

namespace {

// A CBT hook that will not come off must not hold the cleanup for ever: the engine beeps, pumps
// and retries for a while, then goes on with the rest of the teardown.
TEST(HookLibrary, CbtHookThatCannotBeRemovedIsGivenUpAfterRetries) {
    Fixture f("quenbyrun.dll", "8");
    Owned o;
    ASSERT_TRUE(SetUpHookLibrary(f.Request, o.Parts));
    UniqueHook real(o.Cbt.release());
    o.Cbt.reset(reinterpret_cast<HHOOK>(uintptr_t{0x7FFF0001}));  // no such hook
    int pumps = 0;
    TearDownHookLibrary(o.Parts, [&] { ++pumps; });
    EXPECT_GT(pumps, 1) << "retried, pumping after each attempt";
    EXPECT_FALSE(o.Cbt) << "given up, not retried by its owner";
    EXPECT_FALSE(o.GetMessage || o.Library || o.View || o.Mapping) << "the rest still undone";
    // The hook that stayed calls into the library: it must still be loaded.
    HMODULE stillLoaded = GetModuleHandleA(f.Request.LibraryPath.c_str());
    EXPECT_NE(stillLoaded, nullptr) << "the library was freed under a hook that may still be installed";
    real.reset();
    if (stillLoaded) FreeLibrary(stillLoaded);
}

// The two numeric options reach their one-byte fields as 0 or 1, whatever their 32-bit value.
TEST(HookLibrary, HideCursorAndPassEscAreOnForEveryNonZeroValue) {
    const int32_t values[] = {0, 1, 2, 255, 256, 0x10000, -1};
    for (int32_t value : values) {
        SCOPED_TRACE(value);
        Fixture f("quenbyrun.dll", "9");
        f.Opt.HideCursor = value;
        f.Opt.PassESC = value;
        Owned o;
        ASSERT_TRUE(SetUpHookLibrary(f.Request, o.Parts));
        EXPECT_EQ(o.Block->HideCursor, value != 0 ? 1 : 0);
        EXPECT_EQ(o.Block->PassEsc, value != 0 ? 1 : 0);
    }
}

}  // namespace
