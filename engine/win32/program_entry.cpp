#include <windows.h>

#include "engine/win32/run_application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunProgram(); }
