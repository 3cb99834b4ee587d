// Helpers of the projector start that stand on their own.
#pragma once

#include <windows.h>

#include <string>

// EnumThreadWindows callback; object is the TfrmMain whose ProjectorWindow it fills. Returns
// FALSE (stop) once a window of the projector's class is found.
BOOL CALLBACK FindProjectorWindow(HWND window, LPARAM object);

// Whether the two files hold the same bytes; a file that cannot be opened reads as empty, so two
// missing files compare equal.
bool SameFileContents(const std::string& pathA, const std::string& pathB);
