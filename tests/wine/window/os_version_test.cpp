#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "host_harness.h"
#include "support/engine_process.h"
#include "support/test_files.h"

using namespace windowtest;

namespace {

bool TrueFullScreenHostIsTopmost() {
    Options settings;
    settings.FullScreen.Value = true;
    HostHarness harness;
    harness.Create(settings);
    return (GetWindowLongA(harness.Host.Handle, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

TEST(CurrentOsFlags, ComeFromGetVersionAndThePlatform) {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_TRUE(GetVersionExA(&info));
    const OsFlags expected =
        ComputeOsFlags(static_cast<uint32_t>(GetVersion()), info.dwPlatformId == VER_PLATFORM_WIN32_NT);
    const OsFlags& actual = CurrentOsFlags();
    EXPECT_EQ(actual.Windows95, expected.Windows95);
    EXPECT_EQ(actual.Windows98, expected.Windows98);
    EXPECT_EQ(actual.WindowsMe, expected.WindowsMe);
    EXPECT_EQ(actual.NT5, expected.NT5);
    EXPECT_EQ(&actual, &CurrentOsFlags()) << "computed once";
}

// These two run only in a copy of this program for which Wine reports a chosen Windows version
// (see RunsUnderWindowsXpAndWindows10 below).
TEST(DISABLED_VersionChild, WindowsXp) {
    const DWORD version = GetVersion();
    EXPECT_EQ(version & 0xFF, 5u);
    EXPECT_EQ((version >> 8) & 0xFF, 1u);
    const OsFlags& os = CurrentOsFlags();
    EXPECT_TRUE(os.NT5);
    EXPECT_FALSE(os.Windows95 || os.Windows98 || os.WindowsMe);
    EXPECT_TRUE(TrueFullScreenHostIsTopmost());
}

TEST(DISABLED_VersionChild, Windows10) {
    EXPECT_GE(GetVersion() & 0xFF, 6u);
    const OsFlags& os = CurrentOsFlags();
    EXPECT_FALSE(os.NT5 || os.Windows95 || os.Windows98 || os.WindowsMe);
    EXPECT_FALSE(TrueFullScreenHostIsTopmost());
}

// Wine's per-program Windows version: HKCU\Software\Wine\AppDefaults\<exe name>\Version.
class WineVersionSetting {
public:
    WineVersionSetting(const std::string& exeName, const std::string& version)
        : key_("Software\\Wine\\AppDefaults\\" + exeName) {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            throw std::runtime_error("cannot create " + key_);
        RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version.c_str()),
                       static_cast<DWORD>(version.size() + 1));
        RegCloseKey(key);
    }
    ~WineVersionSetting() { RegDeleteKeyA(HKEY_CURRENT_USER, key_.c_str()); }
    WineVersionSetting(const WineVersionSetting&) = delete;
    WineVersionSetting& operator=(const WineVersionSetting&) = delete;

private:
    std::string key_;
};

std::string ThisProgram() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

// Runs a copy of this program under the given Wine version; returns its exit code, or -1.
DWORD RunCopyUnderVersion(const testsupport::TempDir& dir, const std::string& version, const std::string& filter,
                          std::string& output) {
    const std::string exeName = "winver_" + std::to_string(GetCurrentProcessId()) + "_" + version + ".exe";
    const std::string copy = dir.File(exeName);
    if (!CopyFileA(ThisProgram().c_str(), copy.c_str(), FALSE)) throw std::runtime_error("cannot copy the tests");
    WineVersionSetting setting(exeName, version);

    const std::string outputPath = dir.File(version + ".txt");
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = out;
    std::string commandLine = "\"" + copy + "\" --gtest_also_run_disabled_tests --gtest_filter=" + filter;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessA(copy.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                                        dir.Path().c_str(), &startup, &process);
    CloseHandle(out);
    if (!started) return static_cast<DWORD>(-1);
    DWORD code = static_cast<DWORD>(-1);
    // Under an emulated processor the copy needs far longer to start.
    if (WaitForSingleObject(process.hProcess, testsupport::ScaledTimeout(60000)) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const auto bytes = testsupport::ReadFileBytes(outputPath);
    output.assign(bytes.begin(), bytes.end());
    return code;
}

TEST(CurrentOsFlags, RunsUnderWindowsXpAndWindows10) {
    struct Case {
        const char* Version;
        const char* Filter;
    };
    for (const Case c : {Case{"winxp", "DISABLED_VersionChild.WindowsXp"},
                         Case{"win10", "DISABLED_VersionChild.Windows10"}}) {
        SCOPED_TRACE(c.Version);
        testsupport::TempDir dir("winver");
        std::string output;
        EXPECT_EQ(RunCopyUnderVersion(dir, c.Version, c.Filter, output), 0u) << output;
        EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
    }
}

}  // namespace
