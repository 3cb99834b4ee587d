// Tool folders: filled after the full extraction, emptied and removed by the cleanup.
#include "commands/win32/win32_tool_folder_files.h"
#include "engine/win32/tfrm_main.h"

void TfrmMain::PrepareToolDirs() {
    Win32ToolFolderFiles files;
    ::PrepareToolDirs(files, Reader.TargetDir, Placement.ToolFiles, Placement.ToolDirs);
}

void TfrmMain::RemoveToolFiles() {
    Win32ToolFolderFiles files;
    ::RemoveToolFiles(files, Placement.ToolFiles, Placement.ToolDirs);
}
