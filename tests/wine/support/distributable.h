// Test distributables: a copy of the built engine with a payload, in a test's own directory, run
// with that directory as its temporary directory and its own registry section.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "payload/payload_writer.h"
#include "support/engine_process.h"
#include "support/engine_run_lock.h"
#include "support/test_files.h"

namespace testsupport {

using ::PackedFile;  // a file of a payload, as the tests build them

PackedFile FileFromBytes(const std::string& name, const std::vector<uint8_t>& contents,
                         const std::string& placement = "");
PackedFile FileFromText(const std::string& name, const std::string& text, const std::string& placement = "");
// A file of the build tree (stand-in projector, hook library) stored under another name.
PackedFile FileFromBuild(const std::string& builtName, const std::string& storedName,
                         const std::string& placement = "");

class Distributable {
public:
    // name: the distributable's file name without ".exe"; made unique per process so that tests
    // never share a registry section.
    Distributable(const std::string& name, const std::vector<PackedFile>& files);
    // Any bytes as the distributable (for broken payloads).
    Distributable(const std::string& name, const std::vector<uint8_t>& wholeFile);
    ~Distributable();

    const std::string& Path() const { return path_; }            // the exe
    const std::string& Section() const { return section_; }      // registry section
    const std::string& ExeName() const { return exeName_; }
    // The engine's temporary directory: its own, or another distributable's (ShareTempDirOf).
    const std::string& TempPath() const { return sharedTemp_.empty() ? temp_.Path() : sharedTemp_; }
    // Runs this distributable with other's temporary directory (two engines side by side).
    void ShareTempDirOf(const Distributable& other) { sharedTemp_ = other.TempPath(); }
    // Runs this distributable with another temporary directory (with "\"), such as a test file system.
    void UseTempDir(const std::string& path) { sharedTemp_ = path; }
    std::string AppDir() const { return appDir_; }               // the exe's directory, with "\"

    // Starts the engine with TEMP/TMP pointing at the test's own directory.
    std::unique_ptr<ChildProcess> Start(const std::map<std::string, std::string>& environment = {},
                                        const std::string& arguments = "") const;
    // The same with the engine's main thread held until ChildProcess::Resume.
    std::unique_ptr<ChildProcess> StartSuspended() const;

    // From now on the distributable runs from runDir (with "\"): a copy of it is written into
    // writableDir, which is the same directory seen writable (runDir may be a read-only view).
    void RunCopyFrom(const std::string& writableDir, const std::string& runDir);

private:
    std::string Init(const std::string& name);
    std::map<std::string, std::string> Environment(const std::map<std::string, std::string>& environment) const;
    EngineRunLock runLock_;  // first: taken before anything is set up, released after everything
    TempDir temp_;
    TempDir app_;
    std::string appDir_, exeName_, section_, path_;
    std::string sharedTemp_;
};

// The engine image as built.
const std::vector<uint8_t>& EngineImage();

}  // namespace testsupport
