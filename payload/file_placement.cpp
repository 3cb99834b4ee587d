#include "payload/file_placement.h"

#include "payload/engine_error.h"
#include "payload/registry_section.h"

namespace {

const char kToolSettingsSuffix[] = ".vtools.ini";
constexpr std::size_t kToolSettingsSuffixLength = sizeof(kToolSettingsSuffix) - 1;
const char kToolSettingsName[] = "vtools.ini";
const char kToolPlacementPrefix[] = "VTOOL.";

bool EndsWithSeparator(const std::string& path) {
    return !path.empty() && (path.back() == '\\' || path.back() == '/');
}

// Lower-case extension with its dot, "" when the name has none.
std::string ExtensionOf(const std::string& name) {
    const std::size_t dot = name.find_last_of(".\\/:");
    if (dot == std::string::npos || name[dot] != '.') return std::string();
    return LowerAscii(name.substr(dot));
}

bool IsToolPlacement(const std::string& placement) { return placement.compare(0, 6, kToolPlacementPrefix) == 0; }

[[noreturn]] void RefusePlacement(const std::string& placement, const std::string& name) {
    throw EngineError("Placement \"" + placement + "\" of " + name + " leaves the working directory");
}

// Candidate names are tried until one is free; a bounded search ends on the last candidate, whose
// creation then fails in the reader with its own error.
constexpr int kMaxNameAttempts = 1000;

}  // namespace

std::string JoinPath(const std::string& dir, const std::string& name) {
    if (dir.empty() || dir.back() == '\\' || dir.back() == ':') return dir + name;
    return dir + "\\" + name;
}

bool IsContainedPlacement(const std::string& placement) {
    if (placement.empty()) return false;
    if (placement.find(':') != std::string::npos) return false;
    if (placement[0] == '\\' || placement[0] == '/') return false;
    std::size_t start = 0;
    while (start <= placement.size()) {
        std::size_t end = placement.find_first_of("\\/", start);
        if (end == std::string::npos) end = placement.size();
        const std::string step = placement.substr(start, end - start);
        // Windows drops trailing dots and blanks from a path step, so "..." or ".. " would act as "..".
        if (step != "." && step.find_first_not_of(". ") == std::string::npos && step.find("..") != std::string::npos)
            return false;
        start = end + 1;
    }
    return true;
}

void FilePlacement::ClearForFullPass() {
    ProjectorFile.clear();
    MidiFile.clear();
    HookLibraryFile.clear();
    ExtractedFiles.clear();
    ToolFiles.clear();
    ToolDirs.clear();
    PlacementDirs.clear();
}

void FilePlacement::HandleExtractedFile(std::string& name, std::string& directory, bool& skip,
                                        const std::string& currentPlacement, const std::string& targetDir,
                                        int32_t slotNumber, bool midiMuted) {
    if (!FileSystem) throw EngineError("No file system for placing " + name);
    HandleExtractedFile(*FileSystem, name, directory, skip, currentPlacement, targetDir, slotNumber, midiMuted);
}

void FilePlacement::HandleExtractedFile(PlacementFileSystem& fs, std::string& name, std::string& directory, bool& skip,
                                        const std::string& currentPlacement, const std::string& targetDir,
                                        int32_t slotNumber, bool midiMuted) {
    // 1. Probe pass: only notes whether the payload places files itself.
    if (ProbeMode) {
        if (!SettingsPass && !currentPlacement.empty()) PlacementSeen = true;
        skip = true;
        return;
    }

    // 2. Every extracted file gets a lower-case name.
    name = LowerAscii(name);
    const std::string extension = ExtensionOf(name);

    // 3. Placed files (full pass): written where the placement says, whatever their extension.
    if (!SettingsPass && !currentPlacement.empty() && !IsToolPlacement(currentPlacement)) {
        if (currentPlacement != ".") {
            if (!IsContainedPlacement(currentPlacement)) RefusePlacement(currentPlacement, name);
            directory = JoinPath(targetDir, currentPlacement);
            bool known = false;
            for (const std::string& seen : PlacementDirs)
                if (EqualsIgnoringCase(seen, currentPlacement)) known = true;
            if (!known) {
                // A failure shows when the reader cannot create the file there.
                fs.CreateDirectoryTree(directory);
                PlacementDirs.push_back(currentPlacement);
            }
            if (!EndsWithSeparator(directory)) directory += "\\";
        }
        ExtractedFiles.push_back(JoinPath(directory, name));
        return;
    }

    // 4. Tool settings: "<tool>.vtools.ini" becomes "<tool>\vtools.ini".
    if (name.size() > kToolSettingsSuffixLength &&
        name.compare(name.size() - kToolSettingsSuffixLength, kToolSettingsSuffixLength, kToolSettingsSuffix) == 0) {
        if (SettingsPass) {
            skip = true;
            return;
        }
        const std::string toolName = name.substr(0, name.size() - kToolSettingsSuffixLength);
        if (!IsContainedPlacement(toolName) || toolName == ".") RefusePlacement(toolName, name);
        directory = JoinPath(targetDir, toolName);
        name = kToolSettingsName;
        ToolDirs.push_back(directory + "\\");
        ToolDirs.push_back(directory + "\\" + kToolSettingsName);
        fs.CreateSingleDirectory(directory);
        return;
    }

    // 5. Settings files are written only in the settings pass, and only they.
    skip = SettingsPass ? extension != ".ini" : extension == ".ini";
    if (skip) return;

    // 6. The settings file (the last one written wins).
    if (extension == ".ini") {
        SettingsFileName = name;
        SettingsFilesWritten.push_back(name);
        return;
    }

    // 7. Tool files stay where the reader puts them; the tool folders move them later.
    if (IsToolPlacement(currentPlacement)) {
        ToolFiles.push_back({JoinPath(directory, name), currentPlacement});
        return;
    }

    const std::string stem = name.substr(0, name.size() - extension.size());

    // 8. The projector: an earlier copy still running keeps its name, the new one gets a number.
    if (extension == ".exe") {
        ProjectorOriginalName = name;
        std::string candidate = name;
        for (int counter = 1; counter <= kMaxNameAttempts && fs.IsLockedFile(JoinPath(directory, candidate)); ++counter)
            candidate = stem + std::to_string(counter) + extension;
        ProjectorFile = candidate;
        name = candidate;
        return;
    }

    // 9. The hook library: numbered from the instance slot, moving away from zero past locked copies.
    if (extension == ".dll") {
        int64_t counter = slotNumber;
        std::string candidate = stem + std::to_string(counter) + extension;
        for (int attempt = 1; attempt <= kMaxNameAttempts && fs.IsLockedFile(JoinPath(directory, candidate)); ++attempt) {
            counter += counter >= 0 ? 1 : -1;
            candidate = stem + std::to_string(counter) + extension;
        }
        HookLibraryFile = candidate;
        name = candidate;
        return;
    }

    // 10. Background music, unless MIDI is muted.
    if (extension == ".mid" || extension == ".rmi") {
        if (midiMuted)
            skip = true;
        else
            MidiFile = name;
        return;
    }

    // 11. Everything else.
    ExtractedFiles.push_back(JoinPath(directory, name));
}
