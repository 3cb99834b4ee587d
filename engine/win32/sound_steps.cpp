// Silencing the wave output from the projector's start to the cleanup.
#include "commands/win32/win32_multimedia_calls.h"
#include "engine/win32/tfrm_main.h"

// Runs while the projector is still suspended, so not one sound of it is heard.
void TfrmMain::MuteSoundForProjector() {
    Win32MultimediaCalls calls;
    SoundBeforeRun = MuteSound(calls);
}

// Gives back what the muting changed; nothing when it did not run.
void TfrmMain::RestoreMutedSound() {
    if (!SoundBeforeRun.Muted) return;
    Win32MultimediaCalls calls;
    RestoreSound(calls, SoundBeforeRun);
}
