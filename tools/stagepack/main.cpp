// stagepack: builds a distributable (engine executable + appended payload session), lists,
// verifies and extracts the sessions of one, moves a payload behind another engine, and checks
// settings files.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "payload/engine_error.h"
#include "tools/stagepack/cli_support.h"
#include "tools/stagepack/commands.h"

namespace {

const char kUsage[] =
    "Usage:\n"
    "  stagepack build -e ENGINE -o OUTPUT [-s SESSION] [PASSWORD] FILE[=PLACEMENT]...\n"
    "      Copy ENGINE to OUTPUT and append one payload session holding the FILEs.\n"
    "      Each file is stored under its own name; PLACEMENT says where the engine puts it:\n"
    "        (none)            placed by its type (projector .exe, hook library .dll, .ini ...)\n"
    "        .                 the working directory itself\n"
    "        movies\\intro      a sub-directory of the working directory\n"
    "        VTOOL.x           a tool file\n"
    "      Settings (.ini) files are included like any file and checked for mistakes.\n"
    "      SESSION defaults to Session1. An ENGINE that already carries a payload gets one more\n"
    "      session stacked on it.\n"
    "      PASSWORD protects the presentation: --password-prompt asks for it twice on the\n"
    "      terminal, --password-file PWFILE takes the first line of PWFILE. Only its hash is\n"
    "      packed (Password=1 and AlignmentX in the settings file); the payload itself is not\n"
    "      encrypted.\n"
    "  stagepack list FILE\n"
    "      Show every session and record of FILE, with the check of each header.\n"
    "  stagepack verify FILE\n"
    "      Check that every record of every session decompresses to its size.\n"
    "  stagepack extract [-s SESSION] FILE DIR\n"
    "      Extract a session (default Session1) into DIR, sub-directory placements included.\n"
    "  stagepack rehost OLD -e ENGINE -o OUTPUT\n"
    "      Copy ENGINE to OUTPUT and append the payload of the distributable OLD as it is\n"
    "      stored: every session and record unchanged (no recompression; names, placements and\n"
    "      times kept), each record checked first. A payload that does not read cleanly is\n"
    "      refused and nothing is written.\n"
    "  stagepack check-settings FILE\n"
    "      Print warnings about a settings file.\n"
    "  stagepack --help\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    std::string command = argv[1];
    Arguments args(argv + 2, argv + argc);
    try {
        if (command == "--help" || command == "-h" || command == "help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (command == "build") return RunBuild(args);
        if (command == "list") return RunList(args);
        if (command == "verify") return RunVerify(args);
        if (command == "extract") return RunExtract(args);
        if (command == "rehost") return RunRehost(args);
        if (command == "check-settings") return RunCheckSettings(args);
        throw UsageError("unknown command '" + command + "'");
    } catch (const UsageError& e) {
        std::fprintf(stderr, "stagepack: error: %s\nTry 'stagepack --help'.\n", e.what());
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "stagepack: error: %s\n", e.what());
        return 1;
    }
}
