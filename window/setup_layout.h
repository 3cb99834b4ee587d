// Where the Setup dialog's check boxes go when some of them are hidden: the visible ones move up
// and left into the gaps. Portable; positions are dialog client pixels as the template placed them.
#pragma once

#include <cstdint>

#include "payload/options.h"

// The Setup dialog's own copies of the five per-user options (and "MidiLoop", which the loader
// fills alongside). CheckBoxX/Y/Handle belong to each option's check box.
struct SetupOptions {
    OptionSwitch Sound, Midi, MidiLoop, Interaction, RightClickMenu, KeyInteraction;
};

// Moves the records' CheckBoxX/Y for the options that are not user-choosable; each rule sees the
// positions as the rules before it left them.
void CloseSetupLayoutGaps(SetupOptions& options);
