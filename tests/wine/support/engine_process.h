// Starting the real engine (or another test program) under Wine and looking at what it shows.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace testsupport {

// A child process with its own environment additions; killed at the end if still running.
class ChildProcess {
public:
    // suspended: its main thread waits for Resume, so a test can set something up in between.
    ChildProcess(const std::string& exePath, const std::string& arguments,
                 const std::map<std::string, std::string>& environment, const std::string& currentDir = "",
                 bool suspended = false);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    DWORD Id() const { return info_.dwProcessId; }
    HANDLE Handle() const { return info_.hProcess; }
    bool Running() const;
    void Resume();
    // Exit code, or -1 when the process did not end within the time (it is then killed).
    long WaitForExit(DWORD timeoutMs);

private:
    PROCESS_INFORMATION info_{};
};

// Visible or hidden top-level windows of a process.
std::vector<HWND> TopLevelWindowsOf(DWORD processId);
std::string ClassNameOf(HWND window);
std::string WindowTextOf(HWND window);

// Polls until a top-level window of the process with the class appears; nullptr on timeout.
HWND WaitForWindowOfClass(DWORD processId, const std::string& className, DWORD timeoutMs);

struct MessageBoxContents {
    bool Found = false;
    std::string Caption;
    std::string Text;
};
// Waits for a message box of the process, reads caption and text, and presses its OK button.
MessageBoxContents ReadAndDismissMessageBox(DWORD processId, DWORD timeoutMs);

// Registry: removes HKCU\Software\Pellux\<section> (tests use their own section names).
void DeletePelluxSection(const std::string& section);
void SetPelluxValue(const std::string& section, const std::string& name, const std::string& value);

// A wait's limit times STAGEHOST_TEST_TIME_SCALE (default 1): under an emulated processor every
// process starts far more slowly, while what the tests check stays the same.
DWORD ScaledTimeout(DWORD timeoutMs);

// Waits until the predicate holds, polling every 20 ms; false on timeout.
template <typename Predicate>
bool WaitUntil(Predicate predicate, DWORD timeoutMs) {
    timeoutMs = ScaledTimeout(timeoutMs);
    const DWORD start = GetTickCount();
    for (;;) {
        if (predicate()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(20);
    }
}

}  // namespace testsupport
