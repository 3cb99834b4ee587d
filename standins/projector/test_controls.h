// How tests steer the stand-in projector: environment variables, inherited from the engine.
//   STANDIN_REPORT=<path>        keep a text report of what the projector sees (projector_report.h)
//   STANDIN_WRITE_DAT=1          write "movie.dat" into the current directory and "state.dat"
//                                into the engine's working directory (OrbelinLocalDir_RootDir)
//   STANDIN_EXIT_AFTER_MS=<n>    close the window by itself after n ms
//   STANDIN_EXIT_AT_ONCE=1       end before creating any window
//   STANDIN_NO_WINDOW=1          stay alive without a window for 15 s, then end
#pragma once

#include <string>

namespace standin {

struct TestControls {
    std::string reportPath;
    bool writeDataFiles = false;
    unsigned exitAfterMs = 0;  // 0: never
    bool exitAtOnce = false;
    bool noWindow = false;
};

TestControls ReadTestControls();

// The value of an environment variable, empty when it is not set.
std::string EnvironmentText(const char* name);

void WriteDataFiles();

}  // namespace standin
