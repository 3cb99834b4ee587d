// Fuzzes the splitting of the engine's own command line and the path helpers beside it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/command_line_args.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    size_t kept = 0;
    for (const std::string& argument : SplitCommandLine(line)) {
        // Arguments only lose characters (separators, quotes): never more text than came in.
        kept += argument.size();
        if (kept > size) {
            std::fprintf(stderr, "fuzz check failed: arguments longer than the command line\n");
            std::abort();
        }
        IsConfigurationModeArgument(argument);
        FileNamePart(argument);
        DirectoryPart(argument);
    }
    return 0;
}
