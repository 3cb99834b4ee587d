// Background music: the payload's MIDI file played once the movie shows, repeated while looping
// asks for it, and stopped and closed at shutdown.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "commands/media_player.h"

// The main object's MIDI state.
struct MidiMusicState {
    bool& Muted;         // the "Midi" option's value: on means muted
    bool Loop;           // "MidiLoop"
    int32_t& LoopsLeft;  // MidiLoopsLeft
};

// Opens midiFile and plays it with a notification to notifyWindow; with looping on, every
// notification goes to midiPlayDone. Nothing happens when the file does not exist; an MCI failure
// means no music, quietly. Returns whether playing began.
bool StartMidi(TMediaPlayer& player, const std::string& midiFile, bool fileExists, uintptr_t notifyWindow,
               const MidiMusicState& state, std::function<void()> midiPlayDone);

// One play has ended: counts it and plays again while loops are left, unless MIDI is muted.
void MidiPlayDone(TMediaPlayer& player, const MidiMusicState& state);

// The shutdown step: mutes MIDI so no notification starts another play, stops a playing device,
// lets the notification arrive, and closes the device. The file is the caller's to delete.
void StopMidi(TMediaPlayer& player, const MidiMusicState& state, const std::function<void()>& pumpMessages);
