// Default values below HKEY_CLASSES_ROOT as the web-page handler lookup reads them.
#include <windows.h>

#include <gtest/gtest.h>

#include "commands/win32/win32_classes_root_reader.h"

namespace {

// A key of the test's own below the classes root, removed at the end.
class ClassesRootFixture {
public:
    ClassesRootFixture() : name_("stagehost.readertest." + std::to_string(GetCurrentProcessId())) {}
    ~ClassesRootFixture() { RegDeleteTreeA(HKEY_CLASSES_ROOT, name_.c_str()); }
    const std::string& Name() const { return name_; }
    void SetDefault(const std::string& sub, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, (name_ + sub).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS);
        if (data) RegSetValueExA(key, nullptr, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }

private:
    std::string name_;
};

}  // namespace

TEST(ClassesRootReaderWine, ReadsTextDefaultsAndIgnoresEverythingElse) {
    ClassesRootFixture fixture;
    const char text[] = "browser.exe \"%1\"";
    const char expand[] = "%SystemRoot%\\b.exe";
    const DWORD number = 5;
    fixture.SetDefault("\\text", REG_SZ, text, sizeof text);
    fixture.SetDefault("\\expand", REG_EXPAND_SZ, expand, sizeof expand);
    fixture.SetDefault("\\number", REG_DWORD, &number, sizeof number);
    fixture.SetDefault("\\nodefault", REG_SZ, nullptr, 0);
    const std::string longText(300, 'x');
    fixture.SetDefault("\\long", REG_SZ, longText.c_str(), static_cast<DWORD>(longText.size() + 1));

    Win32ClassesRootReader reader;
    std::string value;
    EXPECT_TRUE(reader.ReadDefaultText(fixture.Name() + "\\text", value));
    EXPECT_EQ(value, text);
    EXPECT_TRUE(reader.ReadDefaultText(fixture.Name() + "\\expand", value));
    EXPECT_EQ(value, expand);  // as stored, not expanded
    EXPECT_TRUE(reader.ReadDefaultText(fixture.Name() + "\\long", value));
    EXPECT_EQ(value, longText);  // cut only where it is stored into the block
    value = "kept";
    EXPECT_FALSE(reader.ReadDefaultText(fixture.Name() + "\\number", value));
    EXPECT_FALSE(reader.ReadDefaultText(fixture.Name() + "\\nodefault", value));
    EXPECT_FALSE(reader.ReadDefaultText(fixture.Name() + "\\missing", value));
    EXPECT_EQ(value, "kept");
}
