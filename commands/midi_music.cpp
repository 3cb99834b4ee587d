#include "commands/midi_music.h"

bool StartMidi(TMediaPlayer& player, const std::string& midiFile, bool fileExists, uintptr_t notifyWindow,
               const MidiMusicState& state, std::function<void()> midiPlayDone) {
    if (midiFile.empty() || !fileExists) return false;
    player.NotifyWindow = notifyWindow;
    try {
        player.FileName = midiFile;
        player.Open();
        if (state.Loop && midiPlayDone) player.OnNotify = [done = std::move(midiPlayDone)](TMediaPlayer&) { done(); };
        player.SetNotify(true);
        player.Play();
        return player.Error == 0;
    } catch (const std::exception&) {
        return false;  // no music, no message
    }
}

void MidiPlayDone(TMediaPlayer& player, const MidiMusicState& state) {
    if (state.Muted) return;
    state.LoopsLeft = state.LoopsLeft - 1;
    player.SetNotify(true);
    if (state.LoopsLeft > 0) {
        try {
            player.Play();
        } catch (const std::exception&) {
            // Closed meanwhile: the music has ended.
        }
    }
}

void StopMidi(TMediaPlayer& player, const MidiMusicState& state, const std::function<void()>& pumpMessages) {
    state.Muted = true;
    if (player.GetMode() == TMPModes::Playing) player.Stop();
    if (pumpMessages) pumpMessages();
    player.Close();
    if (pumpMessages) pumpMessages();
}
