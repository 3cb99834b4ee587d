// Recognising the projector's main window by its class name. Portable.
#pragma once

#include <string>

// The class name, in lower case, is "shockwaveflash".
bool IsProjectorWindowClass(const std::string& className);
