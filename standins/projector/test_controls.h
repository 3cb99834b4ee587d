// How tests steer the stand-in projector: environment variables, inherited from the engine.
//   STANDIN_REPORT=<path>        keep a text report of what the projector sees (projector_report.h)
//   STANDIN_WRITE_DAT=1          write "movie.dat" into the current directory and "state.dat"
//                                into the engine's working directory (OrbelinLocalDir_RootDir)
//   STANDIN_EXIT_AFTER_MS=<n>    close the window by itself after n ms
//   STANDIN_EXIT_AT_ONCE=1       end before creating any window
//   STANDIN_NO_WINDOW=1          stay alive without a window for 15 s, then end
//   STANDIN_SEND_TEXT=<text>     send the text to the host once (movie_commands.h) ...
//   STANDIN_SEND_AFTER_MS=<n>    ... n ms after the window is first seen inside the engine's host
//   STANDIN_START=<command line> start this program once the window exists; it inherits the
//                                projector's environment, as a program the movie opens would,
//                                except these controls: its STANDIN_REPORT is STANDIN_START_REPORT
#pragma once

#include <string>

namespace standin {

struct TestControls {
    std::string reportPath;
    bool writeDataFiles = false;
    unsigned exitAfterMs = 0;  // 0: never
    bool exitAtOnce = false;
    bool noWindow = false;
    std::string sendText;
    unsigned sendAfterMs = 0;
    std::string startCommandLine;
    std::string startReportPath;
};

TestControls ReadTestControls();

// The value of an environment variable, empty when it is not set.
std::string EnvironmentText(const char* name);

void WriteDataFiles();

// Starts controls.startCommandLine as described above.
void StartProgram(const TestControls& controls);

}  // namespace standin
