// The movie's registry commands: empty until the registry commands are written. The command
// channel already routes "writereg:" and "readreg:" here and answers 1 either way.
#include "engine/win32/tfrm_main.h"

void TfrmMain::WriteRegistryValue(const std::string&, bool) {}

void TfrmMain::ReadRegistryValue(const std::string&, const std::string&) {}
