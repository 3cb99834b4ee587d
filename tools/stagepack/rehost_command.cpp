// stagepack rehost: the payload of an existing distributable, as stored, behind another engine.
#include <cstdio>

#include "payload/payload_file_system.h"
#include "payload/payload_writer.h"
#include "tools/stagepack/cli_support.h"
#include "tools/stagepack/commands.h"
#include "tools/stagepack/engine_copy.h"
#include "tools/stagepack/stored_sessions.h"

namespace {

struct RehostRequest {
    std::string OldPath;
    std::string EnginePath;
    std::string OutputPath;
};

RehostRequest ParseRehost(const Arguments& args) {
    RehostRequest request;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-e" || arg == "-o") {
            if (i + 1 >= args.size()) throw UsageError("option " + arg + " needs a value");
            (arg == "-e" ? request.EnginePath : request.OutputPath) = args[++i];
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw UsageError("unknown option " + arg);
        } else if (request.OldPath.empty()) {
            request.OldPath = arg;
        } else {
            throw UsageError("rehost takes one distributable");
        }
    }
    if (request.OldPath.empty()) throw UsageError("rehost needs the distributable to take the payload from");
    if (request.EnginePath.empty()) throw UsageError("rehost needs the engine executable (-e ENGINE)");
    if (request.OutputPath.empty()) throw UsageError("rehost needs an output file (-o OUTPUT)");
    return request;
}

}  // namespace

int RunRehost(const Arguments& args) {
    const RehostRequest request = ParseRehost(args);
    AtomicOutputFile target(NativePath(request.OutputPath));
    size_t sessionCount = 0, recordCount = 0;
    {
        // Everything is read and checked before the first byte is written.
        auto source = PortablePayloadFileSystem().OpenSource(NativePath(request.OldPath));
        const std::vector<StoredSession> sessions = ReadStoredSessions(*source, request.OldPath);
        FileSink sink(target.TempPath());
        CopyEngine(request.EnginePath, sink);
        AppendStoredSessions(*source, sessions, sink);
        sink.Close();
        sessionCount = sessions.size();
        for (const StoredSession& session : sessions) recordCount += session.Records.size();
    }
    target.Commit();
    std::printf("%s: %zu session(s) with %zu record(s) from %s, as stored\n", request.OutputPath.c_str(),
                sessionCount, recordCount, request.OldPath.c_str());
    return 0;
}
