#include "test_controls.h"

#include <windows.h>

#include <cstdlib>

#include "engine/engine_names.h"

namespace standin {
namespace {

bool IsSet(const char* name) { return EnvironmentText(name) == "1"; }

void WriteSmallFile(const std::string& path, const std::string& text) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace

std::string EnvironmentText(const char* name) {
    const DWORD needed = GetEnvironmentVariableA(name, nullptr, 0);
    if (needed == 0) return {};
    std::string value(needed, '\0');
    const DWORD length = GetEnvironmentVariableA(name, &value[0], needed);
    value.resize(length < needed ? length : 0);
    return value;
}

TestControls ReadTestControls() {
    TestControls controls;
    controls.reportPath = EnvironmentText("STANDIN_REPORT");
    controls.writeDataFiles = IsSet("STANDIN_WRITE_DAT");
    controls.exitAfterMs = static_cast<unsigned>(std::strtoul(EnvironmentText("STANDIN_EXIT_AFTER_MS").c_str(), nullptr, 10));
    controls.exitAtOnce = IsSet("STANDIN_EXIT_AT_ONCE");
    controls.noWindow = IsSet("STANDIN_NO_WINDOW");
    controls.sendText = EnvironmentText("STANDIN_SEND_TEXT");
    controls.sendAfterMs = static_cast<unsigned>(std::strtoul(EnvironmentText("STANDIN_SEND_AFTER_MS").c_str(), nullptr, 10));
    controls.startCommandLine = EnvironmentText("STANDIN_START");
    controls.startReportPath = EnvironmentText("STANDIN_START_REPORT");
    return controls;
}

void WriteDataFiles() {
    WriteSmallFile("movie.dat", "stand-in movie data\r\n");
    std::string rootDir = EnvironmentText(engine_names::kEnvRootDir);
    if (rootDir.empty()) return;
    if (rootDir.back() != '\\') rootDir += '\\';
    WriteSmallFile(rootDir + "state.dat", "stand-in movie state\r\n");
}

}  // namespace standin

namespace standin {

void StartProgram(const TestControls& controls) {
    if (controls.startCommandLine.empty()) return;
    // Only for the program started: a second projector down the line must not start it again.
    const char* const cleared[] = {"STANDIN_START", "STANDIN_START_REPORT", "STANDIN_SEND_TEXT", "STANDIN_SEND_AFTER_MS"};
    for (const char* name : cleared) SetEnvironmentVariableA(name, nullptr);
    SetEnvironmentVariableA("STANDIN_REPORT", controls.startReportPath.empty() ? nullptr : controls.startReportPath.c_str());
    std::string commandLine = controls.startCommandLine;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    SetEnvironmentVariableA("STANDIN_REPORT", controls.reportPath.empty() ? nullptr : controls.reportPath.c_str());
}

}  // namespace standin
