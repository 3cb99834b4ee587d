// Silencing the system's wave output while the projector runs, and giving it back: the volume of
// the wave-output mapper and the mute switches of the mixers. Portable over MultimediaCalls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "commands/multimedia_calls.h"

// The wave mapper's volume (low word left, high word right); 0 when it cannot report one.
uint32_t ReadWaveVolume(MultimediaCalls& calls);
// Sets the wave mapper's volume and returns the one it had; changes nothing and returns 0 when
// the mapper has no volume control, and returns the old value unchanged when it cannot be read.
uint32_t SetWaveVolume(MultimediaCalls& calls, uint32_t volume);

// The mute switches in walk order (devices, destinations, sources, controls, each in index
// order): which were on, or which are to be set. However many switches there are, each keeps
// its own place.
class MuteSwitchStates {
public:
    // A request that turns every switch on.
    static MuteSwitchStates AllOn();

    // The value to give switch index, or none to leave it as it is.
    std::optional<bool> Wanted(size_t index) const;
    bool On(size_t index) const { return index < states_.size() && states_[index]; }
    size_t Count() const { return states_.size(); }
    void Append(bool on) { states_.push_back(on); }
    // The first 32 switches as bits (bit i for switch i).
    uint32_t Mask() const;

private:
    std::vector<bool> states_;
    bool allOn_ = false;
};

// Walks every mixer's wave-output mute switches; returns their states as read, and when apply is
// set writes each switch from wanted. A switch listed under several destinations of one device
// is handled once; recording and MIDI destinations are left alone.
MuteSwitchStates SetMixerMutes(MultimediaCalls& calls, const MuteSwitchStates& wanted, bool apply);

// What muting changed, to be given back.
struct SavedSound {
    bool Muted = false;               // the muting ran
    uint32_t WaveVolume = 0;          // the wave mapper's volume before
    bool WaveVolumeChanged = false;   // the muting did set the wave mapper's volume
    MuteSwitchStates MixerSwitches;   // the switches as they were
};

// Mutes every switch, then the wave mapper; returns what to restore.
SavedSound MuteSound(MultimediaCalls& calls);
// Gives the switches and the volume back (nothing when the muting did not run); clears saved.
void RestoreSound(MultimediaCalls& calls, SavedSound& saved);
