#include "support/distributable.h"

#include <windows.h>

#include <atomic>
#include <stdexcept>

#include "support/recycle_bin.h"
#include "support/scheduled_deletions.h"

namespace testsupport {

PackedFile FileFromBytes(const std::string& name, const std::vector<uint8_t>& contents, const std::string& placement) {
    PackedFile file;
    file.FileName = name;
    file.SourceDir = "C:\\author\\";
    file.Placement = placement;
    file.Contents = contents;
    file.LastWriteTime = 132000000000000000ULL;  // 2019-04-18
    return file;
}

PackedFile FileFromText(const std::string& name, const std::string& text, const std::string& placement) {
    return FileFromBytes(name, std::vector<uint8_t>(text.begin(), text.end()), placement);
}

PackedFile FileFromBuild(const std::string& builtName, const std::string& storedName, const std::string& placement) {
    return FileFromBytes(storedName, ReadFileBytes(BinPath(builtName)), placement);
}

const std::vector<uint8_t>& EngineImage() {
    static const std::vector<uint8_t> image = ReadFileBytes(BinPath("stagehost.exe"));
    return image;
}

std::string Distributable::Init(const std::string& name) {
    static std::atomic<int> counter{0};
    exeName_ = name + "_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(counter++) + ".exe";
    section_ = exeName_.substr(0, exeName_.size() - 4);
    appDir_ = app_.Path();
    path_ = appDir_ + exeName_;
    DeletePelluxSection(section_);
    return path_;
}

Distributable::Distributable(const std::string& name, const std::vector<PackedFile>& files)
    : temp_("tmp"), app_("app") {
    WriteFileBytes(Init(name), BuildDistributable(EngineImage(), files));
}

Distributable::Distributable(const std::string& name, const std::vector<uint8_t>& wholeFile)
    : temp_("tmp"), app_("app") {
    WriteFileBytes(Init(name), wholeFile);
}

Distributable::~Distributable() {
    DeletePelluxSection(section_);
    // A hook library that Wine's desktop kept loaded leaves a deletion scheduled for the next
    // start and its directory in the Recycle Bin: this run's are removed as far as they can be.
    ForgetScheduledDeletionsUnder(temp_.Path());
    EmptyRecycledFrom(temp_.Path());
}

std::map<std::string, std::string> Distributable::Environment(
    const std::map<std::string, std::string>& environment) const {
    std::map<std::string, std::string> variables = environment;
    variables["TEMP"] = TempPath();
    variables["TMP"] = TempPath();
    return variables;
}

std::unique_ptr<ChildProcess> Distributable::Start(const std::map<std::string, std::string>& environment,
                                                   const std::string& arguments) const {
    return std::make_unique<ChildProcess>(path_, arguments, Environment(environment));
}

std::unique_ptr<ChildProcess> Distributable::StartSuspended() const {
    return std::make_unique<ChildProcess>(path_, "", Environment({}), "", true);
}

void Distributable::RunCopyFrom(const std::string& writableDir, const std::string& runDir) {
    if (!CopyFileA(path_.c_str(), (writableDir + exeName_).c_str(), FALSE))
        throw std::runtime_error("cannot copy " + path_ + " into " + writableDir);
    appDir_ = runDir;
    path_ = runDir + exeName_;
}

}  // namespace testsupport
