#include "tools/stagepack/engine_copy.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "payload/payload_writer.h"
#include "tools/stagepack/cli_support.h"
#include "tools/stagepack/pe_headers.h"

namespace {

constexpr size_t kCopyBlockSize = 1 << 20;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

void WarnAboutSignature(const std::string& enginePath) {
    std::fprintf(stderr,
                 "stagepack: warning: engine %s is signed: its signature will not cover the payload.\n"
                 "stagepack: warning: sign the distributable after packing; for osslsigncode to sign it, pack an "
                 "unsigned engine (osslsigncode remove-signature -in %s -out unsigned.exe).\n",
                 enginePath.c_str(), enginePath.c_str());
}

}  // namespace

void CopyEngine(const std::string& enginePath, PayloadSink& sink) {
    std::unique_ptr<std::FILE, FileCloser> engine(std::fopen(NativePath(enginePath).c_str(), "rb"));
    if (!engine) throw ToolError("cannot read engine " + enginePath);
    std::vector<uint8_t> buffer(kCopyBlockSize);
    bool first = true;
    size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), engine.get())) > 0) {
        // The headers lie in the first block of any executable.
        if (first && IsSignedImage(ReadPeCertificateTable(buffer.data(), n))) WarnAboutSignature(enginePath);
        first = false;
        sink.Append(buffer.data(), n);
    }
    if (std::ferror(engine.get())) throw ToolError("cannot read engine " + enginePath);
    if (sink.Size() == 0) throw ToolError("engine " + enginePath + " is empty");
}
