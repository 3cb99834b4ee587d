#include "engine/win32/run_application.h"

#include <windows.h>

#include <exception>
#include <memory>

#include "engine/win32/command_line.h"
#include "engine/win32/message_pump.h"
#include "engine/win32/tfrm_main.h"

namespace {

const char kExceptionPrefix[] = "Exception occured: ";
const char kErrorCaption[] = "Error";

void ReportException(HWND owner, const char* text) {
    std::string message = std::string(kExceptionPrefix) + text;
    MessageBoxA(owner, message.c_str(), kErrorCaption, MB_OK);
}

}  // namespace

void RunApplication(const std::string& programPath, const std::string& firstArgument) {
    ProgramState& program = Program();
    std::unique_ptr<TfrmMain> main;
    try {
        main = std::make_unique<TfrmMain>(programPath, firstArgument);
    } catch (const std::exception& error) {
        // The settings pass failed while the main object was built: nothing was extracted yet.
        program.MainObject = nullptr;
        ReportException(nullptr, error.what());
        return;
    }

    while (!program.QuitFlag) {
        try {
            PumpMessage();
        } catch (const std::exception& error) {
            ReportException(main->Host.Handle, error.what());
            // The run sequence has already cleaned up behind the exception: end as after a
            // normal return instead of idling with a hidden window.
            program.QuitFlag = true;
        }
    }

    try {
        main->FreeMainObjects();
    } catch (...) {
    }
    Sleep(111);
    // A second attempt after the cleanup's: by now other processes may have let the library go.
    // The working directory is still claimed when the library was left, so the file is this run's.
    if (!main->Placement.HookLibraryFile.empty()) DeleteFileA(main->Placement.HookLibraryFile.c_str());
    main->ReleaseWorkingDirectory();
    program.MainObject = nullptr;
    program.Filter = {};
    main.reset();
}

int RunProgram() {
    ProgramState& program = Program();
    const CommandLine commandLine = ReadCommandLine();
    while (program.RestartFlag) {
        program.QuitFlag = false;
        program.RestartFlag = false;
        RunApplication(commandLine.ProgramPath, commandLine.FirstArgument);
    }
    return 0;
}
