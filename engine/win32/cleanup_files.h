// The file-system steps of the cleanup, tolerant and bounded: a file or directory that cannot go
// now is retried, then left to the next system start or the Recycle Bin, never reported.
#pragma once

#include <string>
#include <vector>

// Three DeleteFileA attempts 555 ms apart; then MoveFileExA(path, no target,
// MOVEFILE_DELAY_UNTIL_REBOOT). Pumps the queue after each failed attempt.
void DeleteHookLibraryFile(const std::string& path);

// Every "*.dat" file of the directory (workDir ends with "\"), such as files the movie wrote.
void DeleteDatFiles(const std::string& workDir);

// RemoveDirectoryA; failing that, the directory tree is deleted with retries for about 1.1 s and,
// as a last resort, sent to the Recycle Bin.
void RemoveWorkingDirectory(const std::string& workDir);

// Removes each placement directory inside workDir and its parents below workDir, ignoring
// directories that are not empty.
void RemovePlacementDirectories(const std::string& workDir, const std::vector<std::string>& placementDirs);
