// Stand-in for a BeforeShow library: records each call as a line "host=<handle> args=<args>" in the
// file named by STANDIN_BEFORESHOW_LOG, so tests can see when and with what the engine called it.
#include <windows.h>

#include <string>

extern "C" void __stdcall BeforeShow(char* scratch256, HWND host, const char* args) {
    if (scratch256) scratch256[0] = '\0';  // the buffer is ours to use; touching it proves it is writable
    char logPath[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("STANDIN_BEFORESHOW_LOG", logPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;

    const std::string line = "host=" + std::to_string(reinterpret_cast<uintptr_t>(host)) +
                             " args=" + (args ? args : "") + "\r\n";
    HANDLE file = CreateFileA(logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}
