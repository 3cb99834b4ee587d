// stagepack extract: one session into a directory, through the engine's own payload reader.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "payload/velexe_appender.h"
#include "tools/stagepack/cli_support.h"
#include "tools/stagepack/commands.h"

int RunExtract(const Arguments& args) {
    std::string sessionName = "Session1";
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-s") {
            if (i + 1 >= args.size()) throw UsageError("option -s needs a value");
            sessionName = args[++i];
        } else if (args[i].size() > 1 && args[i][0] == '-') {
            throw UsageError("unknown option " + args[i]);
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.size() != 2) throw UsageError("extract takes a file and a directory");

    std::string targetDir = NativePath(positional[1]);
    std::error_code error;
    std::filesystem::create_directories(targetDir, error);
    if (!std::filesystem::is_directory(targetDir)) throw ToolError("cannot create directory " + positional[1]);
    if (targetDir.back() != '/' && targetDir.back() != '\\') targetDir += '/';

    TVelExeAppender reader;
    reader.SourceIsSelf = false;
    reader.SourcePath = NativePath(positional[0]);
    reader.TargetDir = targetDir;
    int written = 0;
    // Sub-directory placements go where the engine would put them; everything else (placed by
    // type, ".", tool files) into the directory itself.
    reader.OnFile = [&](TVelExeAppender& sender, std::string&, std::string& directory, bool&) {
        const std::string& placement = sender.CurrentPlacement;
        if (!placement.empty() && placement != "." && placement.compare(0, 6, "VTOOL.") != 0) {
            directory = sender.TargetDir + placement;
            std::error_code ignored;
            std::filesystem::create_directories(NativePath(directory), ignored);
        }
        ++written;
    };
    TerminalProgress progress("extracting", 0);
    reader.OnProgress = [&](TVelExeAppender& sender, const std::string&, int percent, bool&) {
        if (sender.TotalBytes >= (8u << 20)) progress.Show(percent);
    };
    reader.ExtractSession(sessionName);
    std::printf("%s: extracted %d file(s) of session %s into %s\n", positional[0].c_str(), written,
                sessionName.c_str(), positional[1].c_str());
    return 0;
}
