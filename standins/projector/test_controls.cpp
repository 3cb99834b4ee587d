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
