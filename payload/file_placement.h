// The engine's file placement policy: for every file of the payload session it decides whether
// the file is written, under which name and into which directory, and records where the
// projector, the hook library, the settings file, the MIDI file, the tool files and all other
// files went. The same session is extracted in three passes: settings, probe and full.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "payload/placement_file_system.h"

struct ToolFileEntry {
    std::string Path;       // full path of the written tool file
    std::string Placement;  // its record's Placement ("VTOOL. ...")
};

class FilePlacement {
public:
    // Which pass runs: SettingsPass for the settings loader, ProbeMode for the probe pass, neither
    // for the full pass.
    bool SettingsPass = false;
    bool ProbeMode = false;
    bool PlacementSeen = false;  // probe pass: some file has a non-empty Placement

    std::string SettingsFileName;       // settings pass: lower-case name, no directory
    // Every settings file the settings pass wrote (the last one is SettingsFileName): the loader
    // removes them all, so no copy of a password hash stays in the temporary directory.
    std::vector<std::string> SettingsFilesWritten;
    std::string ProjectorFile;          // on-disk name inside the working directory
    std::string ProjectorOriginalName;  // as stored, lower case
    std::string HookLibraryFile;        // always numbered with the instance slot
    std::string MidiFile;

    std::vector<std::string> ExtractedFiles;  // full paths of placed and ordinary files
    std::vector<ToolFileEntry> ToolFiles;
    std::vector<std::string> ToolDirs;        // per tool: its directory + "\", then its vtools.ini path
    std::vector<std::string> PlacementDirs;   // distinct Placement texts, in the order first met

    // Where the policy tests for locked files and creates directories. Not owned; the settings
    // loader sets it on its first run, before any full pass.
    PlacementFileSystem* FileSystem = nullptr;

    // Before the full pass: forget what an earlier pass decided.
    void ClearForFullPass();

    // The reader's per-file question. name, directory and skip are in/out as the reader passes
    // them; currentPlacement is the record's Placement, targetDir the reader's TargetDir, midiMuted
    // the value of the "Midi" option. Throws EngineError for a placement that would leave the
    // target directory. This form uses FileSystem.
    void HandleExtractedFile(std::string& name, std::string& directory, bool& skip,
                             const std::string& currentPlacement, const std::string& targetDir,
                             int32_t slotNumber, bool midiMuted);
    void HandleExtractedFile(PlacementFileSystem& fs, std::string& name, std::string& directory, bool& skip,
                             const std::string& currentPlacement, const std::string& targetDir,
                             int32_t slotNumber, bool midiMuted);
};

// True when placement names a directory inside the target directory: relative, without a drive,
// ":" or any ".." step (nor a step Windows would read as one, such as ". ." or "...").
bool IsContainedPlacement(const std::string& placement);

// dir + name with a "\" between them unless dir is empty or already ends with "\" or ":".
std::string JoinPath(const std::string& dir, const std::string& name);
