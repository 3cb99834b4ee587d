// A distributable that plays the stand-in movie (projector, hook library and an optional
// settings file), run until the movie is shown inside the engine's window and then closed the
// way a user would close it. Shared by the settings end-to-end tests.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/distributable.h"
#include "support/standin_report.h"

namespace settingse2e {


// The stand-in movie's files; settingsText empty: no settings file in the payload.
std::vector<PackedFile> StandinMovieFiles(const std::string& settingsText);

class SettingsRun {
public:
    SettingsRun(const std::string& name, const std::string& settingsText);
    // Any payload that holds the stand-in movie (StandinMovieFiles and more).
    SettingsRun(const std::string& name, const std::vector<PackedFile>& files);

    testsupport::Distributable& App() { return app_; }
    const std::string& ReportPath() const { return reportPath_; }
    testsupport::ChildProcess& Engine() { return *engine_; }

    // Starts the engine (in the given current directory, else the test's own); the movie ends by
    // itself after a while should a test never close it.
    void Start(const std::map<std::string, std::string>& environment = {}, const std::string& currentDir = "");
    // The projector's report once its window is inside the host and the hook library has
    // reported the movie ready; empty when that did not happen in time.
    testsupport::StandinReport WaitUntilShown();
    // Closes the projector window as the movie's own "quit" would and waits for the engine.
    long CloseAndWait();

private:
    testsupport::TempDir reportDir_;  // outside the engine's temporary directory
    std::string reportPath_;
    testsupport::Distributable app_;
    std::unique_ptr<testsupport::ChildProcess> engine_;
    HWND projector_ = nullptr;
};

// The engine's host window among the process's top-level windows; nullptr when there is none.
HWND HostWindowOf(DWORD processId);

// Sets the Windows version Wine reports to one program, for as long as the object lives.
class WineVersionForProgram {
public:
    WineVersionForProgram(const std::string& exeName, const std::string& version);
    ~WineVersionForProgram();
    WineVersionForProgram(const WineVersionForProgram&) = delete;
    WineVersionForProgram& operator=(const WineVersionForProgram&) = delete;

private:
    std::string keyPath_;
};

}  // namespace settingse2e
