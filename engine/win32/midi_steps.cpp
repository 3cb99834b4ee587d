// The payload's MIDI file as background music: started once the movie shows, repeated while
// looping asks for it. The cleanup stops it (engine/win32/cleanup.cpp).
#include "engine/win32/tfrm_main.h"

MidiMusicState TfrmMain::MidiState() { return MidiMusicState{Opt.Midi.Value, Opt.MidiLoop.Value, MidiLoopsLeft}; }

void TfrmMain::StartMidi() {
    const std::string& file = Placement.MidiFile;
    const bool exists = !file.empty() && GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES;
    ::StartMidi(MidiPlayer, file, exists, reinterpret_cast<uintptr_t>(Host.Handle), MidiState(),
                [this] { MidiPlayDone(); });
}

void TfrmMain::MidiPlayDone() { ::MidiPlayDone(MidiPlayer, MidiState()); }

void TfrmMain::HandleMidiNotify(WPARAM wParam) { MidiPlayer.HandleNotifyMessage(wParam); }
