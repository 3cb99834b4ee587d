// The host's popup menu, built with the host window from the menu options.
#pragma once

#include <windows.h>

#include "payload/options.h"

// A popup menu with the items the options select; 0 when none is selected or building failed
// (a half-built menu is destroyed: the engine then has no popup menu at all).
HMENU BuildPopupMenu(const Options& opt);
