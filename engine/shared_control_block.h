// The shared control block: the first bytes of the named mapping through which the engine and the
// hook library (running inside other processes) share settings, handles and flags. The layout is
// fixed and little-endian; window and hook handles are stored as 32-bit values in every build
// (the system guarantees such handles fit in 32 bits), so a 64-bit engine writes the same bytes a
// 32-bit one would. Portable: no system headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Size of the whole mapping, and of the part the engine maps and uses.
constexpr uint32_t kSharedMappingSize = 11356;  // 0x2C5C
constexpr uint32_t kSharedViewSize = 1356;      // 0x54C

// Number of entries of the menu-items-to-delete list.
constexpr int kMenuItemsToDeleteCount = 50;

// A length-prefixed string: one length byte, then at most 255 characters.
struct ShortString255 {
    uint8_t Length;
    char Text[255];
};
static_assert(sizeof(ShortString255) == 256, "ShortString255 must be 256 bytes");

// Every field sits at its natural alignment, so no packing is needed and each 32-bit field is
// written whole by one aligned store (the hook library reads the block without a lock).
struct SharedControlBlock {
    uint32_t MouseHook;           // 0x000  0 when not installed
    uint32_t KeyboardHook;        // 0x004
    uint32_t CbtHook;             // 0x008
    uint32_t GetMessageHook;      // 0x00C
    uint32_t ReservedHook1;       // 0x010  always 0
    uint32_t ReservedHook2;       // 0x014  always 0
    uint32_t ProjectorProcessId;  // 0x018
    uint32_t Reserved01C;         // 0x01C
    uint8_t Reserved020[16];      // 0x020
    uint32_t ProjectorWindow;     // 0x030  read while searching for the projector window
    uint32_t HostWindow;          // 0x034
    uint32_t HostWindowCopy;      // 0x038
    uint8_t Reserved03C;          // 0x03C
    uint8_t AnyKeyExits;          // 0x03D  NOT KeyInteraction, refreshed by the supervision loop
    uint8_t MouseClickExits;      // 0x03E  NOT Interaction
    uint8_t SuppressRightClickMenu;  // 0x03F  NOT RightClickMenu
    uint32_t Reserved040;         // 0x040
    uint8_t Constant044;          // 0x044  always 1
    uint8_t Constant045;          // 0x045  always 0
    uint8_t Constant046;          // 0x046  always 0
    uint8_t Constant047;          // 0x047  always 0
    uint8_t Constant048;          // 0x048  always 0
    uint8_t DisableWindowsKeys;   // 0x049  DisableW95Key
    uint8_t DisableScreenSaver;   // 0x04A
    uint8_t Reserved04B;          // 0x04B
    uint32_t EngineThreadId;      // 0x04C
    uint8_t ExitOnEsc;            // 0x050
    uint8_t MenuItemClose;        // 0x051
    uint8_t MenuItemSetup;        // 0x052
    uint8_t MenuOpen;             // 0x053  1 while the host's popup menu is tracked
    uint8_t Draggable;            // 0x054
    uint8_t Reserved055[3];       // 0x055
    uint32_t Constant058;         // 0x058  1, written right after the zero fill
    uint32_t Reserved05C;         // 0x05C
    uint8_t MovieReady;           // 0x060
    uint8_t HideCursor;           // 0x061
    uint8_t MenuItemMinimize;     // 0x062
    uint8_t Reserved063;          // 0x063
    uint32_t Supervising;         // 0x064
    uint32_t EngineProcessId;     // 0x068
    uint8_t Reserved06C[8];       // 0x06C
    ShortString255 StartDirectory;      // 0x074
    ShortString255 WebPageOpenCommand;  // 0x174
    ShortString255 DdeApplication;      // 0x274
    ShortString255 DdeTopic;            // 0x374
    uint8_t GetMessageHookInstalled;    // 0x474
    uint8_t Reserved475;                // 0x475
    uint8_t FramePaintingSuspended;     // 0x476
    uint8_t ProjectorIsVersion6OrLater; // 0x477
    uint32_t MenuItemsToDelete[kMenuItemsToDeleteCount];  // 0x478
    uint32_t ProjectorMajorVersion;     // 0x540
    uint32_t ProjectorThreadId;         // 0x544
    uint8_t PassEsc;                    // 0x548
    uint8_t ProjectorStartBegun;        // 0x549
    uint8_t Reserved54A[2];             // 0x54A
};

#define SCB_AT(field, offset) \
    static_assert(offsetof(SharedControlBlock, field) == (offset), #field " is at " #offset)
SCB_AT(MouseHook, 0x000);
SCB_AT(KeyboardHook, 0x004);
SCB_AT(CbtHook, 0x008);
SCB_AT(GetMessageHook, 0x00C);
SCB_AT(ReservedHook1, 0x010);
SCB_AT(ReservedHook2, 0x014);
SCB_AT(ProjectorProcessId, 0x018);
SCB_AT(Reserved01C, 0x01C);
SCB_AT(Reserved020, 0x020);
SCB_AT(ProjectorWindow, 0x030);
SCB_AT(HostWindow, 0x034);
SCB_AT(HostWindowCopy, 0x038);
SCB_AT(Reserved03C, 0x03C);
SCB_AT(AnyKeyExits, 0x03D);
SCB_AT(MouseClickExits, 0x03E);
SCB_AT(SuppressRightClickMenu, 0x03F);
SCB_AT(Reserved040, 0x040);
SCB_AT(Constant044, 0x044);
SCB_AT(Constant045, 0x045);
SCB_AT(Constant046, 0x046);
SCB_AT(Constant047, 0x047);
SCB_AT(Constant048, 0x048);
SCB_AT(DisableWindowsKeys, 0x049);
SCB_AT(DisableScreenSaver, 0x04A);
SCB_AT(Reserved04B, 0x04B);
SCB_AT(EngineThreadId, 0x04C);
SCB_AT(ExitOnEsc, 0x050);
SCB_AT(MenuItemClose, 0x051);
SCB_AT(MenuItemSetup, 0x052);
SCB_AT(MenuOpen, 0x053);
SCB_AT(Draggable, 0x054);
SCB_AT(Reserved055, 0x055);
SCB_AT(Constant058, 0x058);
SCB_AT(Reserved05C, 0x05C);
SCB_AT(MovieReady, 0x060);
SCB_AT(HideCursor, 0x061);
SCB_AT(MenuItemMinimize, 0x062);
SCB_AT(Reserved063, 0x063);
SCB_AT(Supervising, 0x064);
SCB_AT(EngineProcessId, 0x068);
SCB_AT(Reserved06C, 0x06C);
SCB_AT(StartDirectory, 0x074);
SCB_AT(WebPageOpenCommand, 0x174);
SCB_AT(DdeApplication, 0x274);
SCB_AT(DdeTopic, 0x374);
SCB_AT(GetMessageHookInstalled, 0x474);
SCB_AT(Reserved475, 0x475);
SCB_AT(FramePaintingSuspended, 0x476);
SCB_AT(ProjectorIsVersion6OrLater, 0x477);
SCB_AT(MenuItemsToDelete, 0x478);
SCB_AT(ProjectorMajorVersion, 0x540);
SCB_AT(ProjectorThreadId, 0x544);
SCB_AT(PassEsc, 0x548);
SCB_AT(ProjectorStartBegun, 0x549);
SCB_AT(Reserved54A, 0x54A);
#undef SCB_AT
static_assert(sizeof(SharedControlBlock) == kSharedViewSize, "the block is 0x54C bytes");
static_assert(alignof(SharedControlBlock) == 4, "32-bit fields are aligned");

// Handles go into the block as their 32-bit value; the upper half of a 64-bit window or hook
// handle is always zero or a sign extension, so truncation is the documented conversion.
inline uint32_t HandleToField(const void* handle) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(handle));
}

// Reads a 32-bit handle field back as a pointer-sized handle value (sign-extended, as the system
// does for 32-bit handle values).
inline void* FieldToHandle(uint32_t field) {
    return reinterpret_cast<void*>(static_cast<intptr_t>(static_cast<int32_t>(field)));
}

// Writes text into a length-prefixed string, cutting it at 255 characters.
inline void SetShortString(ShortString255& target, const char* text, size_t length) {
    if (length > sizeof(target.Text)) length = sizeof(target.Text);
    target.Length = static_cast<uint8_t>(length);
    for (size_t i = 0; i < length; ++i) target.Text[i] = text[i];
}

inline void SetShortString(ShortString255& target, const std::string& text) {
    SetShortString(target, text.data(), text.size());
}

inline std::string ShortStringText(const ShortString255& source) {
    return std::string(source.Text, source.Length);
}
