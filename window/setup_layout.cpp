#include "window/setup_layout.h"

void CloseSetupLayoutGaps(SetupOptions& o) {
    // No interaction box at all: the sound boxes take the empty left column, keeping their rows.
    if (!o.Interaction.UserChoosable && !o.RightClickMenu.UserChoosable && !o.KeyInteraction.UserChoosable) {
        o.Midi.CheckBoxX = o.Interaction.CheckBoxX;
        o.Sound.CheckBoxX = o.RightClickMenu.CheckBoxX;
    }
    if (!o.Interaction.UserChoosable) {
        o.KeyInteraction.CheckBoxY = o.RightClickMenu.CheckBoxY;
        o.RightClickMenu.CheckBoxY = o.Interaction.CheckBoxY;
    }
    if (!o.RightClickMenu.UserChoosable) o.KeyInteraction.CheckBoxY = o.RightClickMenu.CheckBoxY;
    if (!o.Sound.UserChoosable) o.Midi.CheckBoxY = o.Sound.CheckBoxY;
}
