#include "engine/shared_control_block.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

namespace {

struct FieldCase {
    const char* name;
    size_t offset;
    size_t width;
    std::function<void(SharedControlBlock&)> set;  // writes an all-0xFF value of the field's width
};

// Every field written with all bits set must light exactly its own bytes in the raw block: this
// catches a shifted field, a wrong width, or padding the compiler slipped in.
TEST(SharedControlBlock, EachFieldOccupiesExactlyItsBytes) {
    const std::vector<FieldCase> cases = {
        {"MouseHook", 0x000, 4, [](auto& b) { b.MouseHook = 0xFFFFFFFF; }},
        {"KeyboardHook", 0x004, 4, [](auto& b) { b.KeyboardHook = 0xFFFFFFFF; }},
        {"CbtHook", 0x008, 4, [](auto& b) { b.CbtHook = 0xFFFFFFFF; }},
        {"GetMessageHook", 0x00C, 4, [](auto& b) { b.GetMessageHook = 0xFFFFFFFF; }},
        {"ReservedHook1", 0x010, 4, [](auto& b) { b.ReservedHook1 = 0xFFFFFFFF; }},
        {"ReservedHook2", 0x014, 4, [](auto& b) { b.ReservedHook2 = 0xFFFFFFFF; }},
        {"ProjectorProcessId", 0x018, 4, [](auto& b) { b.ProjectorProcessId = 0xFFFFFFFF; }},
        {"Reserved01C", 0x01C, 4, [](auto& b) { b.Reserved01C = 0xFFFFFFFF; }},
        {"ProjectorWindow", 0x030, 4, [](auto& b) { b.ProjectorWindow = 0xFFFFFFFF; }},
        {"HostWindow", 0x034, 4, [](auto& b) { b.HostWindow = 0xFFFFFFFF; }},
        {"HostWindowCopy", 0x038, 4, [](auto& b) { b.HostWindowCopy = 0xFFFFFFFF; }},
        {"Reserved03C", 0x03C, 1, [](auto& b) { b.Reserved03C = 0xFF; }},
        {"AnyKeyExits", 0x03D, 1, [](auto& b) { b.AnyKeyExits = 0xFF; }},
        {"MouseClickExits", 0x03E, 1, [](auto& b) { b.MouseClickExits = 0xFF; }},
        {"SuppressRightClickMenu", 0x03F, 1, [](auto& b) { b.SuppressRightClickMenu = 0xFF; }},
        {"Constant044", 0x044, 1, [](auto& b) { b.Constant044 = 0xFF; }},
        {"Constant048", 0x048, 1, [](auto& b) { b.Constant048 = 0xFF; }},
        {"DisableWindowsKeys", 0x049, 1, [](auto& b) { b.DisableWindowsKeys = 0xFF; }},
        {"DisableScreenSaver", 0x04A, 1, [](auto& b) { b.DisableScreenSaver = 0xFF; }},
        {"EngineThreadId", 0x04C, 4, [](auto& b) { b.EngineThreadId = 0xFFFFFFFF; }},
        {"ExitOnEsc", 0x050, 1, [](auto& b) { b.ExitOnEsc = 0xFF; }},
        {"MenuItemClose", 0x051, 1, [](auto& b) { b.MenuItemClose = 0xFF; }},
        {"MenuItemSetup", 0x052, 1, [](auto& b) { b.MenuItemSetup = 0xFF; }},
        {"MenuOpen", 0x053, 1, [](auto& b) { b.MenuOpen = 0xFF; }},
        {"Draggable", 0x054, 1, [](auto& b) { b.Draggable = 0xFF; }},
        {"Constant058", 0x058, 4, [](auto& b) { b.Constant058 = 0xFFFFFFFF; }},
        {"MovieReady", 0x060, 1, [](auto& b) { b.MovieReady = 0xFF; }},
        {"HideCursor", 0x061, 1, [](auto& b) { b.HideCursor = 0xFF; }},
        {"MenuItemMinimize", 0x062, 1, [](auto& b) { b.MenuItemMinimize = 0xFF; }},
        {"Supervising", 0x064, 4, [](auto& b) { b.Supervising = 0xFFFFFFFF; }},
        {"EngineProcessId", 0x068, 4, [](auto& b) { b.EngineProcessId = 0xFFFFFFFF; }},
        {"StartDirectory", 0x074, 256, [](auto& b) { std::memset(&b.StartDirectory, 0xFF, 256); }},
        {"WebPageOpenCommand", 0x174, 256,
         [](auto& b) { std::memset(&b.WebPageOpenCommand, 0xFF, 256); }},
        {"DdeApplication", 0x274, 256, [](auto& b) { std::memset(&b.DdeApplication, 0xFF, 256); }},
        {"DdeTopic", 0x374, 256, [](auto& b) { std::memset(&b.DdeTopic, 0xFF, 256); }},
        {"GetMessageHookInstalled", 0x474, 1, [](auto& b) { b.GetMessageHookInstalled = 0xFF; }},
        {"FramePaintingSuspended", 0x476, 1, [](auto& b) { b.FramePaintingSuspended = 0xFF; }},
        {"ProjectorIsVersion6OrLater", 0x477, 1,
         [](auto& b) { b.ProjectorIsVersion6OrLater = 0xFF; }},
        {"MenuItemsToDelete", 0x478, 200,
         [](auto& b) { for (auto& v : b.MenuItemsToDelete) v = 0xFFFFFFFF; }},
        {"ProjectorMajorVersion", 0x540, 4, [](auto& b) { b.ProjectorMajorVersion = 0xFFFFFFFF; }},
        {"ProjectorThreadId", 0x544, 4, [](auto& b) { b.ProjectorThreadId = 0xFFFFFFFF; }},
        {"PassEsc", 0x548, 1, [](auto& b) { b.PassEsc = 0xFF; }},
        {"ProjectorStartBegun", 0x549, 1, [](auto& b) { b.ProjectorStartBegun = 0xFF; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SharedControlBlock block;
        std::memset(&block, 0, sizeof block);
        c.set(block);
        const auto* bytes = reinterpret_cast<const uint8_t*>(&block);
        for (size_t i = 0; i < sizeof block; ++i) {
            const bool inside = i >= c.offset && i < c.offset + c.width;
            ASSERT_EQ(bytes[i], inside ? 0xFF : 0x00) << "byte 0x" << std::hex << i;
        }
    }
}

TEST(SharedControlBlock, SizesAndMenuEntryPositions) {
    EXPECT_EQ(sizeof(SharedControlBlock), 0x54Cu);
    EXPECT_EQ(kSharedViewSize, 1356u);
    EXPECT_EQ(kSharedMappingSize, 0x2C5Cu);
    SharedControlBlock block;
    std::memset(&block, 0, sizeof block);
    block.MenuItemsToDelete[2] = 0x01020304;  // little-endian at 0x478 + 8
    const auto* bytes = reinterpret_cast<const uint8_t*>(&block);
    EXPECT_EQ(bytes[0x480], 0x04);
    EXPECT_EQ(bytes[0x483], 0x01);
    EXPECT_EQ(offsetof(SharedControlBlock, MenuItemsToDelete) + 49 * 4, 0x53Cu);
}

TEST(SharedControlBlock, HandlesBecomeTheir32BitValue) {
    EXPECT_EQ(HandleToField(nullptr), 0u);
    EXPECT_EQ(HandleToField(reinterpret_cast<void*>(uintptr_t{0x000A01F2})), 0x000A01F2u);
    EXPECT_EQ(FieldToHandle(0x000A01F2u), reinterpret_cast<void*>(uintptr_t{0x000A01F2}));
    EXPECT_EQ(FieldToHandle(0u), nullptr);
}

TEST(SharedControlBlock, ShortStringsAreLengthPrefixedAndCut) {
    ShortString255 s{};
    SetShortString(s, std::string("C:\\Work"));
    EXPECT_EQ(s.Length, 7);
    EXPECT_EQ(ShortStringText(s), "C:\\Work");
    SetShortString(s, std::string(300, 'x'));
    EXPECT_EQ(s.Length, 255);
    EXPECT_EQ(ShortStringText(s), std::string(255, 'x'));
}

}  // namespace
