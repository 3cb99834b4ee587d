#include "commands/tool_folders.h"

namespace {

const char kToolSettingsName[] = "vtools.ini";
const char kSatellitePrefix[] = "VTOOL.SATELLITE:";

bool EndsWithBackslash(const std::string& path) { return !path.empty() && path.back() == '\\'; }

std::string FileNamePart(const std::string& path) {
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void DeleteWithRetries(ToolFolderFileSystem& fs, const std::string& path) {
    for (int attempt = 0; attempt < kToolFileDeleteTries; ++attempt) {
        if (fs.RemoveFile(path)) return;
        fs.Pause(kToolFileDeletePauseMs);
    }
}

void FillToolDir(ToolFolderFileSystem& fs, const std::string& targetDir, const std::vector<ToolFileEntry>& toolFiles,
                 const std::string& toolDir, std::vector<std::string>& toolDirs) {
    std::string line, name;
    if (!fs.ReadFirstLine(toolDir + kToolSettingsName, line) || !ToolNameFromLine(line, name)) return;
    const std::string executable = "V" + name + ".EXE";
    fs.CopyFileReplacing(targetDir + executable, toolDir + executable);
    toolDirs.push_back(toolDir + executable);  // listed even when the copy failed
    const std::string satelliteKey = kSatellitePrefix + fs.UpperCase(executable);
    for (const ToolFileEntry& file : toolFiles) {
        if (file.Placement != satelliteKey) continue;
        const std::string copy = toolDir + FileNamePart(file.Path);
        fs.CopyFileReplacing(file.Path, copy);
        toolDirs.push_back(copy);
    }
}

}  // namespace

bool ToolNameFromLine(const std::string& line, std::string& name) {
    if (line.size() <= 2 || line.front() != '[' || line.back() != ']') return false;
    const std::string candidate = line.substr(1, line.size() - 2);
    // The name becomes part of a file name in the working directory and in the tool directory.
    if (candidate.find_first_of("\\/:") != std::string::npos || candidate.find("..") != std::string::npos ||
        candidate.find('\0') != std::string::npos)
        return false;
    name = candidate;
    return true;
}

void PrepareToolDirs(ToolFolderFileSystem& fs, const std::string& targetDir, const std::vector<ToolFileEntry>& toolFiles,
                     std::vector<std::string>& toolDirs) {
    // Entries appended on the way are not visited; copy each directory entry before appending.
    for (size_t i = toolDirs.size(); i-- > 0;) {
        if (!EndsWithBackslash(toolDirs[i])) continue;
        const std::string toolDir = toolDirs[i];
        FillToolDir(fs, targetDir, toolFiles, toolDir, toolDirs);
    }
}

void RemoveToolFiles(ToolFolderFileSystem& fs, const std::vector<ToolFileEntry>& toolFiles,
                     const std::vector<std::string>& toolDirs) {
    for (size_t i = toolDirs.size(); i-- > 0;) {
        const std::string& entry = toolDirs[i];
        if (EndsWithBackslash(entry))
            fs.RemoveEmptyDirectory(entry.substr(0, entry.size() - 1));
        else
            DeleteWithRetries(fs, entry);
    }
    for (size_t i = toolFiles.size(); i-- > 0;) DeleteWithRetries(fs, toolFiles[i].Path);
}
