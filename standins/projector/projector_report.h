// The stand-in projector's report: a text file of "key=value" lines, replaced atomically (written
// beside it, then renamed over it) whenever its contents change, so a reader never sees half of it.
//   pid=<decimal>            the projector's process id
//   exe=<path>               its own executable
//   cwd=<path>               its current directory
//   window=<decimal>         its top-level window, 0 when it has none
//   parent=<decimal>         the window's parent, 0 while it is a top-level window
//   style=0x<hex>            the window's style
//   menu=<0|1>               whether the window has a menu bar
//   client=<w>,<h>           the window's client size
//   fullscreen_command=<id>  the last full-screen command received, 0 before any
//   mapping=<name>           the shared control block's mapping name, from OrbelinLocalDir_RootDir
//   block=<hex>              the block's first 1356 bytes as 2712 hex digits, empty until opened
//   sent=<n>                 how many commands the movie has sent its host (movie_commands.h)
//   last_sent=<text>         the last of them
//   last_answer=<decimal>    the host's answer to it
//   env:<name>=<value>       one line for each environment variable, in the environment's order
//   file:<path>=<size>       one line for each file below the current directory (two levels
//                            deep, so tool directories are seen), path relative to it, sorted
#pragma once

#include <windows.h>

#include <string>

#include "engine/win32/handles.h"

namespace standin {

struct ProjectorView {
    HWND window = nullptr;
    unsigned fullScreenCommand = 0;
    unsigned sentCount = 0;
    std::string lastSent;
    long long lastAnswer = 0;
};

class ProjectorReport {
public:
    explicit ProjectorReport(std::string path) : path_(std::move(path)) {}
    bool Enabled() const { return !path_.empty(); }
    // Rebuilds the report and rewrites the file when anything changed.
    void Refresh(const ProjectorView& view);

private:
    std::string BlockHex();

    std::string path_;
    std::string lastWritten_;
    UniqueHandle mapping_;
    UniqueMappedView block_;
};

}  // namespace standin
