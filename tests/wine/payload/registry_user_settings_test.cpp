// The per-user store over the real registry, each test in a section of its own.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>

#include "payload/settings_loader.h"
#include "payload/user_settings_values.h"
#include "payload/win32/registry_user_settings.h"

namespace {

const char kTestRoot[] = "Software\\StagehostTests";

// A root key unique to this test, deleted with everything below it at the end.
class TestRegistryRoot {
public:
    TestRegistryRoot() {
        static std::atomic<int> counter{0};
        path_ = std::string(kTestRoot) + "\\settings_" + std::to_string(GetCurrentProcessId()) + "_" +
                std::to_string(counter++);
    }
    ~TestRegistryRoot() {
        RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, kTestRoot);  // only once no other test uses it
    }
    const std::string& Path() const { return path_; }

    // The type and data of a value as stored, or REG_NONE when missing.
    DWORD TypeOf(const std::string& section, const std::string& value) const {
        DWORD type = REG_NONE;
        if (RegGetValueA(HKEY_CURRENT_USER, (path_ + "\\" + section).c_str(), value.c_str(), RRF_RT_ANY, &type, nullptr,
                         nullptr) != ERROR_SUCCESS)
            return REG_NONE;
        return type;
    }
    void SetDword(const std::string& section, const std::string& value, DWORD data) const {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (path_ + "\\" + section).c_str(), 0, nullptr, 0, KEY_WRITE,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, value.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
        RegCloseKey(key);
    }

private:
    std::string path_;
};

TEST(RegistryUserSettings, WritesStringsAndReadsThemBackPerSection) {
    TestRegistryRoot root;
    RegistryUserSettings demo("Demo", root.Path());
    RegistryUserSettings other("Other", root.Path());
    EXPECT_FALSE(demo.ReadString("MouseExit").has_value());  // section not even created yet

    demo.WriteString("MouseExit", "0");
    demo.WriteString("Quenby Temp Directory", "D:\\Shows\\Temp");
    EXPECT_EQ(demo.ReadString("MouseExit"), std::optional<std::string>("0"));
    EXPECT_EQ(demo.ReadString("mouseexit"), std::optional<std::string>("0"));  // the registry ignores case
    EXPECT_EQ(demo.ReadString("Quenby Temp Directory"), std::optional<std::string>("D:\\Shows\\Temp"));
    EXPECT_EQ(root.TypeOf("Demo", "MouseExit"), static_cast<DWORD>(REG_SZ));
    EXPECT_FALSE(other.ReadString("MouseExit").has_value());

    // A second store over the same section sees the values (the Setup dialog and the engine).
    RegistryUserSettings again("demo", root.Path());
    EXPECT_EQ(again.ReadString("MouseExit"), std::optional<std::string>("0"));
    demo.WriteString("MouseExit", "");
    EXPECT_EQ(again.ReadString("MouseExit"), std::optional<std::string>(""));
}

TEST(RegistryUserSettings, ValuesThatAreNotStringsReadAsMissing) {
    TestRegistryRoot root;
    root.SetDword("Demo", "Mute", 1);
    RegistryUserSettings store("Demo", root.Path());
    EXPECT_FALSE(store.ReadString("Mute").has_value());
    EXPECT_TRUE(ReadUserBoolean(&store, "Mute", true));  // the default applies
}

TEST(RegistryUserSettings, TheRegistryStepReadsTheUserChoices) {
    TestRegistryRoot root;
    RegistryUserSettings store("Demo", root.Path());
    WriteUserBoolean(&store, "Mute", true);
    WriteUserBoolean(&store, "MouseExit", false);
    store.WriteString("MidiMute", "0x1");
    Options o;
    MarkUserChoosableOptions(o);
    ApplyUserSettings(&store, o);
    EXPECT_FALSE(o.Sound.Value);          // muted
    EXPECT_TRUE(o.Midi.Value);            // muted
    EXPECT_TRUE(o.Interaction.Value);     // MouseExit 0
    EXPECT_TRUE(o.RightClickMenu.Enabled);
    EXPECT_FALSE(o.RightClickMenu.Value);
    EXPECT_TRUE(o.KeyInteraction.Value);
    EXPECT_EQ(root.TypeOf("Demo", "Mute"), static_cast<DWORD>(REG_SZ));
}

TEST(RegistryUserSettings, TheDefaultRootIsThePerUserKey) {
    const std::string section = "stagehost_registry_test_" + std::to_string(GetCurrentProcessId());
    {
        RegistryUserSettings store(section);
        store.WriteString("AnyKeyExit", "1");
    }
    char data[16] = {};
    DWORD size = sizeof data;
    const std::string path = std::string("Software\\Pellux\\") + section;
    EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, path.c_str(), "AnyKeyExit", RRF_RT_REG_SZ, nullptr, data, &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(data, "1");
    RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
}

TEST(RegistryUserSettings, AnEmptySectionUsesTheRootKeyItself) {
    TestRegistryRoot root;
    RegistryUserSettings store("", root.Path());
    store.WriteString("Mute", "1");
    EXPECT_EQ(store.ReadString("Mute"), std::optional<std::string>("1"));
    DWORD type = REG_NONE;
    EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, root.Path().c_str(), "Mute", RRF_RT_ANY, &type, nullptr, nullptr),
              ERROR_SUCCESS);
}

}  // namespace
