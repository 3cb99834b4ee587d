// Fuzzes the file placement policy over a run of files whose names, placements, pass, slot, MIDI
// option and locked copies all come from the input. Names are first held to what the payload
// reader lets through (a plain file name); placements are not, so the policy's own check is
// tested. Only an EngineError may end a run, and every file the policy accepts must lie inside
// the target directory.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "fuzz_path_checks.h"
#include "payload/engine_error.h"
#include "payload/extract_path_rules.h"
#include "payload/file_placement.h"
#include "tests/unit/payload/placement_fakes.h"

namespace {

// Locks a share of the paths the policy asks about, chosen by the input: none, some or all.
class PatternLockedFileSystem : public FakePlacementFileSystem {
public:
    uint8_t Pattern = 0;
    bool IsLockedFile(const std::string& path) override {
        if (Pattern == 0) return false;
        if (Pattern == 255) return true;
        return (std::hash<std::string>()(path) + Pattern) % 4 == 0;
    }
};

const char* const kTargetDirs[] = {"C:\\Work\\", "C:\\Temp\\qr12\\", "\\\\server\\share\\w\\", "D:\\"};

void PlaceFiles(FuzzedDataProvider& input) {
    PatternLockedFileSystem fs;
    fs.Pattern = input.ConsumeIntegral<uint8_t>();
    FilePlacement placement;
    placement.FileSystem = &fs;
    const std::string targetDir = input.PickValueInArray(kTargetDirs);
    const int32_t slot = input.ConsumeIntegral<int32_t>();
    const bool midiMuted = input.ConsumeBool();

    while (input.remaining_bytes() > 0) {
        const uint8_t pass = input.ConsumeIntegralInRange<uint8_t>(0, 2);
        placement.SettingsPass = pass == 0;
        placement.ProbeMode = pass == 1;
        std::string name = input.ConsumeRandomLengthString(48);
        const std::string recordPlacement = input.ConsumeRandomLengthString(48);
        if (!IsPlainFileName(name)) continue;  // the reader refuses these before asking

        std::string directory = targetDir;
        bool skip = false;
        placement.HandleExtractedFile(name, directory, skip, recordPlacement, targetDir, slot, midiMuted);
        if (!skip) fuzz_checks::ExpectInsideTarget(directory, name, targetDir);
    }
    for (const std::string& path : placement.ExtractedFiles) {
        const size_t split = path.find_last_of('\\') + 1;
        fuzz_checks::ExpectInsideTarget(path.substr(0, split), path.substr(split), targetDir);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    try {
        PlaceFiles(input);
    } catch (const EngineError&) {
        // A placement that would leave the working directory.
    }
    return 0;
}
