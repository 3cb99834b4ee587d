#include "support/engine_process.h"

#include <cstdlib>
#include <stdexcept>

namespace testsupport {
namespace {

// The current environment with the given variables added or replaced, as a CreateProcess block.
std::vector<char> EnvironmentBlock(const std::map<std::string, std::string>& additions) {
    std::map<std::string, std::string> variables;
    LPCH strings = GetEnvironmentStringsA();
    for (const char* entry = strings; *entry; entry += strlen(entry) + 1) {
        std::string text = entry;
        size_t equals = text.find('=', 1);  // "=C:=C:\\" style entries start with '='
        if (equals == std::string::npos) continue;
        variables[text.substr(0, equals)] = text.substr(equals + 1);
    }
    FreeEnvironmentStringsA(strings);
    for (const auto& [name, value] : additions) variables[name] = value;
    std::vector<char> block;
    for (const auto& [name, value] : variables) {
        std::string entry = name + "=" + value;
        block.insert(block.end(), entry.begin(), entry.end());
        block.push_back('\0');
    }
    block.push_back('\0');
    return block;
}

struct WindowsOfProcess {
    DWORD ProcessId;
    std::vector<HWND> Windows;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<WindowsOfProcess*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->ProcessId) search->Windows.push_back(window);
    return TRUE;
}

}  // namespace

ChildProcess::ChildProcess(const std::string& exePath, const std::string& arguments,
                           const std::map<std::string, std::string>& environment, const std::string& currentDir,
                           bool suspended) {
    std::string commandLine = "\"" + exePath + "\"" + (arguments.empty() ? "" : " " + arguments);
    std::vector<char> mutableCommandLine(commandLine.begin(), commandLine.end());
    mutableCommandLine.push_back('\0');
    std::vector<char> block = EnvironmentBlock(environment);
    // The child and everything it starts write nowhere: a process that outlived its test would
    // otherwise keep the test's output pipe open and CTest would wait for it.
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE nowhere = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 &inheritable, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (nowhere != INVALID_HANDLE_VALUE) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = startup.hStdOutput = startup.hStdError = nowhere;
    }
    const BOOL started = CreateProcessA(exePath.c_str(), mutableCommandLine.data(), nullptr, nullptr,
                                        nowhere != INVALID_HANDLE_VALUE, suspended ? CREATE_SUSPENDED : 0,
                                        block.data(),
                                        currentDir.empty() ? nullptr : currentDir.c_str(), &startup, &info_);
    const DWORD error = GetLastError();
    if (nowhere != INVALID_HANDLE_VALUE) CloseHandle(nowhere);
    if (!started) throw std::runtime_error("cannot start " + exePath + " (error " + std::to_string(error) + ")");
}

ChildProcess::~ChildProcess() {
    if (Running()) {
        TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool ChildProcess::Running() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

void ChildProcess::Resume() { ResumeThread(info_.hThread); }

DWORD ScaledTimeout(DWORD timeoutMs) {
    static const DWORD scale = [] {
        const char* value = std::getenv("STAGEHOST_TEST_TIME_SCALE");
        const long parsed = value ? std::strtol(value, nullptr, 10) : 1;
        return parsed > 1 ? static_cast<DWORD>(parsed) : 1u;
    }();
    if (timeoutMs == INFINITE) return INFINITE;
    return timeoutMs > MAXDWORD / scale ? MAXDWORD - 1 : timeoutMs * scale;
}

long ChildProcess::WaitForExit(DWORD timeoutMs) {
    if (WaitForSingleObject(info_.hProcess, ScaledTimeout(timeoutMs)) != WAIT_OBJECT_0) {
        TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, 5000);
        return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return static_cast<long>(code);
}

std::vector<HWND> TopLevelWindowsOf(DWORD processId) {
    WindowsOfProcess search{processId, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.Windows;
}

std::string ClassNameOf(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string WindowTextOf(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

HWND WaitForWindowOfClass(DWORD processId, const std::string& className, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : TopLevelWindowsOf(processId))
                if (ClassNameOf(window) == className) {
                    found = window;
                    return true;
                }
            return false;
        },
        timeoutMs);
    return found;
}

MessageBoxContents ReadAndDismissMessageBox(DWORD processId, DWORD timeoutMs) {
    MessageBoxContents contents;
    HWND box = nullptr;
    // The box exists before its text and buttons do: wait until it is shown, complete.
    WaitUntil(
        [&] {
            for (HWND window : TopLevelWindowsOf(processId))
                if (ClassNameOf(window) == "#32770" && IsWindowVisible(window) && GetDlgItem(window, 0xFFFF) &&
                    GetDlgItem(window, IDOK)) {
                    box = window;
                    return true;
                }
            return false;
        },
        timeoutMs);
    if (!box) return contents;
    contents.Found = true;
    contents.Caption = WindowTextOf(box);
    // The message text is the static control with id 0xFFFF.
    char text[2048] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    contents.Text = text;
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return contents;
}

void DeletePelluxSection(const std::string& section) {
    if (section.empty()) return;
    RegDeleteKeyA(HKEY_CURRENT_USER, ("Software\\Pellux\\" + section).c_str());
}

void SetPelluxValue(const std::string& section, const std::string& name, const std::string& value) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, ("Software\\Pellux\\" + section).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create registry section " + section);
    RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

}  // namespace testsupport
