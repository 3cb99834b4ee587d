// The movie's registry commands against the real registry and a real answer file, called as the
// dispatcher calls them.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "commands/win32/registry_commands.h"
#include "support/test_files.h"

using namespace testsupport;

namespace {

// A key of the test's own under a root, removed with everything below it at the end.
class TestKey {
public:
    TestKey(HKEY root, const std::string& rootName, const std::string& parent)
        : root_(root),
          path_(parent + "StagehostRegTest" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++count_)),
          argumentPath_(rootName.empty() ? path_ : rootName + "\\" + path_) {
        RegDeleteTreeA(root_, path_.c_str());
    }
    ~TestKey() { RegDeleteTreeA(root_, path_.c_str()); }
    // The argument's key path, with the root name when the test names one.
    const std::string& Arg() const { return argumentPath_; }

    bool Exists() const {
        HKEY key = nullptr;
        if (RegOpenKeyExA(root_, path_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        RegCloseKey(key);
        return true;
    }
    // Type and raw data of a value; type 0 when missing.
    DWORD Read(const std::string& name, std::string& data) const {
        HKEY key = nullptr;
        if (RegOpenKeyExA(root_, path_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
            RegCloseKey(key);
            return 0;
        }
        data.assign(size, '\0');
        RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size);
        data.resize(size);
        RegCloseKey(key);
        return type;
    }
    std::string String(const std::string& name) const {
        std::string data;
        EXPECT_EQ(Read(name, data), static_cast<DWORD>(REG_SZ)) << name;
        return data.c_str();
    }
    DWORD Dword(const std::string& name) const {
        std::string data;
        EXPECT_EQ(Read(name, data), static_cast<DWORD>(REG_DWORD)) << name;
        DWORD value = 0;
        if (data.size() == sizeof value) memcpy(&value, data.data(), sizeof value);
        return value;
    }
    void Set(const std::string& name, DWORD type, const void* data, DWORD size) const {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(root_, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }

private:
    static inline int count_ = 0;
    HKEY root_;
    std::string path_;
    std::string argumentPath_;
};

std::string FileText(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

TEST(RegistryWrite, StoresStringsAndNumbersInEveryRootAndForm) {
    TestKey user(HKEY_CURRENT_USER, "", "Software\\");
    TestKey machine(HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", "Software\\");
    TestKey classes(HKEY_CLASSES_ROOT, "hkey_classes_root", "");
    for (bool lazy : {true, false}) {
        SCOPED_TRACE(lazy ? "no-wait form" : "wait form");
        WriteRegistryValue(user.Arg() + "\\Sub\\Name=Value", lazy);
        WriteRegistryValue("INT:" + machine.Arg() + "\\Count=42", lazy);
        WriteRegistryValue("integer:" + machine.Arg() + "\\Hex=$2A", lazy);
        WriteRegistryValue("INT:" + machine.Arg() + "\\Minus=-1", lazy);
        WriteRegistryValue(classes.Arg() + "\\=text", lazy);
        WriteRegistryValue("STRING:" + user.Arg() + "\\Odd=a&b=c:d", lazy);
        WriteRegistryValue(user.Arg() + "\\Empty=", lazy);

        HKEY key = nullptr;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, (user.Arg() + "\\Sub").c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
        char text[64] = {};
        DWORD size = sizeof text;
        DWORD type = 0;
        EXPECT_EQ(RegQueryValueExA(key, "Name", nullptr, &type, reinterpret_cast<BYTE*>(text), &size), ERROR_SUCCESS);
        RegCloseKey(key);
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
        EXPECT_STREQ(text, "Value");

        EXPECT_EQ(machine.Dword("Count"), 42u);
        EXPECT_EQ(machine.Dword("Hex"), 42u);
        EXPECT_EQ(machine.Dword("Minus"), 0xFFFFFFFFu);
        EXPECT_EQ(classes.String(""), "text");
        EXPECT_EQ(user.String("Odd"), "a&b=c:d");
        EXPECT_EQ(user.String("Empty"), "");
    }
}

TEST(RegistryWrite, StoresNothingForANumberThatIsNone) {
    TestKey key(HKEY_CURRENT_USER, "", "Software\\");
    for (const char* text : {"abc", "", "4 2", "0x2A"}) {
        WriteRegistryValue("INT:" + key.Arg() + "\\Count=" + text, false);
        std::string data;
        EXPECT_EQ(key.Read("Count", data), 0u) << text;
    }
    // The key is opened (and so created) before the number is looked at.
    EXPECT_TRUE(key.Exists());
    // A last "\" inside the text splits there instead: value "Temp" of key "...\Path=C:".
    WriteRegistryValue(key.Arg() + "\\Path=C:\\Temp", true);
    HKEY odd = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, (key.Arg() + "\\Path=C:").c_str(), 0, KEY_READ, &odd), ERROR_SUCCESS);
    DWORD type = 0;
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(odd, "Temp", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 0u);
    RegCloseKey(odd);
}

struct ReadCase {
    const char* Name;
    std::string Argument;  // after the key path
    std::string Answer;
};

TEST(RegistryRead, AnswersThroughTheFileNextToTheProjector) {
    TempDir dir("rr");
    TestKey key(HKEY_CURRENT_USER, "HKEY_CURRENT_USER", "Software\\");
    const DWORD all = 0xFFFFFFFF;
    const DWORD big[2] = {1, 2};
    key.Set("Text", REG_SZ, "hello", 6);
    key.Set("Odd", REG_SZ, "a&b=c", 6);
    key.Set("Expand", REG_EXPAND_SZ, "%TEMP%\\x", 9);
    key.Set("Count", REG_DWORD, &all, sizeof all);
    key.Set("Wide", REG_BINARY, big, sizeof big);
    key.Set("Unended", REG_SZ, "abc", 3);  // stored without its zero
    const std::string projector = dir.File("movie.exe");
    const std::string answer = dir.File("ReadReg.txt");
    ASSERT_EQ(RegistryAnswerFile(projector), answer);

    const ReadCase cases[] = {
        {"string", "\\Text=none", "RegFound=value&RegValue=hello"},
        {"string with & and =", "\\Odd", "RegFound=value&RegValue=a&b=c"},
        {"expandable string, not expanded", "\\Expand", "RegFound=value&RegValue=%TEMP%\\x"},
        {"string stored without zero", "\\Unended", "RegFound=value&RegValue=abc"},
        {"integer", "\\Count", "RegFound=value&RegValue=-1"},
        {"missing value", "\\Missing=none", "RegFound=key&RegValue=none"},
        {"integer asked, string found", "\\Text", "RegFound=key&RegValue="},
        {"string asked, integer found", "\\Count=dflt", "RegFound=key&RegValue=dflt"},
        {"integer larger than four bytes", "\\Wide=7", "RegFound=key&RegValue=7"},
        {"missing key", "\\NoSuchKey\\Name=none", "RegFound=nothing&RegValue=none"},
    };
    std::vector<std::string> extracted = {"C:\\other\\file.txt"};
    for (const ReadCase& c : cases) {
        const bool integer = c.Name == std::string("integer") || c.Name == std::string("integer asked, string found") ||
                             c.Name == std::string("integer larger than four bytes");
        const std::string argument = (integer ? "INTEGER:" : "") + key.Arg() + c.Argument;
        ReadRegistryValue(argument, answer, extracted);
        EXPECT_EQ(FileText(answer), c.Answer) << c.Name;
    }
    // Listed once for the cleanup, whatever the case of the name.
    ReadRegistryValue(key.Arg() + "\\Text", dir.File("READREG.TXT"), extracted);
    EXPECT_EQ(extracted, (std::vector<std::string>{"C:\\other\\file.txt", answer}));
}

TEST(RegistryRead, LeavesNothingWhenTheFileCannotBeCreated) {
    TempDir dir("rr");
    std::vector<std::string> extracted;
    ReadRegistryValue("Software\\Name", dir.File("no such dir\\ReadReg.txt"), extracted);
    EXPECT_TRUE(extracted.empty());
    EXPECT_TRUE(ListTree(dir.Path()).empty());
}

TEST(RegistryCommandStep, RoutesBothCommandsAndNothingElse) {
    TempDir dir("rr");
    TestKey key(HKEY_CURRENT_USER, "", "Software\\");
    std::vector<std::string> extracted;
    const std::string projector = dir.File("movie.exe");
    EXPECT_TRUE(RunRegistryCommand("WriteReg:" + key.Arg() + "\\Name=Value", false, projector, extracted));
    EXPECT_EQ(key.String("Name"), "Value");
    EXPECT_TRUE(RunRegistryCommand("readREG:" + key.Arg() + "\\Name", true, projector, extracted));
    EXPECT_EQ(FileText(dir.File("ReadReg.txt")), "RegFound=value&RegValue=Value");
    EXPECT_EQ(extracted, std::vector<std::string>{dir.File("ReadReg.txt")});
    EXPECT_FALSE(RunRegistryCommand("setup", true, projector, extracted));
    EXPECT_FALSE(RunRegistryCommand(" writereg:" + key.Arg() + "\\Other=x", true, projector, extracted));
    std::string data;
    EXPECT_EQ(key.Read("Other", data), 0u);
}

}  // namespace
