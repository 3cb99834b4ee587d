#include "commands/sound_muting.h"

#include <algorithm>

namespace {

bool HasVolumeControl(MultimediaCalls& calls) {
    uint32_t support = 0;
    return calls.WaveMapperSupport(support) && (support & mm::kWaveCapsVolume) != 0;
}

// SetWaveVolume, also telling whether the volume was written.
bool ChangeWaveVolume(MultimediaCalls& calls, uint32_t volume, uint32_t& old) {
    old = 0;
    if (!HasVolumeControl(calls)) return false;
    if (!calls.GetWaveMapperVolume(old)) return false;
    calls.SetWaveMapperVolume(volume);
    return true;
}

bool PlaysToSpeakers(uint32_t targetType) {
    return targetType == mm::kTargetTypeUndefined || targetType == mm::kTargetTypeWaveOut ||
           targetType == mm::kTargetTypeAux;
}

class MixerWalk {
public:
    MixerWalk(MultimediaCalls& calls, const MuteSwitchStates& wanted, bool apply)
        : calls_(calls), wanted_(wanted), apply_(apply) {}

    MuteSwitchStates Run() {
        const uint32_t devices = calls_.MixerDeviceCount();
        for (uint32_t device = 0; device < devices; ++device) WalkDevice(device);
        return found_;
    }

private:
    void WalkDevice(uint32_t device) {
        handled_.clear();  // control ids repeat only within one device
        uint32_t destinations = 0;
        if (!calls_.MixerDestinationCount(device, destinations)) destinations = 0;
        MixerHandle mixer = 0;
        if (!calls_.OpenMixer(device, mixer)) return;
        for (uint32_t destination = 0; destination < destinations; ++destination) {
            MixerLine line;
            if (!calls_.DestinationLine(mixer, destination, line) || !PlaysToSpeakers(line.TargetType)) continue;
            for (uint32_t source = 0; source < line.Connections; ++source) {
                MixerLine sourceLine;
                if (!calls_.SourceLine(mixer, destination, source, sourceLine)) continue;
                if (sourceLine.TargetType != mm::kTargetTypeWaveOut) continue;
                WalkControls(mixer, sourceLine);
            }
        }
        calls_.CloseMixer(mixer);
    }

    void WalkControls(MixerHandle mixer, const MixerLine& line) {
        std::vector<MixerControl> controls;
        if (!calls_.LineControls(mixer, line, controls)) return;
        for (const MixerControl& control : controls) {
            if (control.Type != mm::kControlTypeMute) continue;
            if (std::find(handled_.begin(), handled_.end(), control.Id) != handled_.end()) continue;
            handled_.push_back(control.Id);
            uint32_t value = 0;
            calls_.ReadSwitch(mixer, control.Id, value);
            const size_t index = found_.Count();
            found_.Append(value != 0);
            if (!apply_) continue;
            if (const std::optional<bool> wanted = wanted_.Wanted(index))
                calls_.WriteSwitch(mixer, control.Id, *wanted ? 1 : 0);
        }
    }

    MultimediaCalls& calls_;
    const MuteSwitchStates& wanted_;
    const bool apply_;
    MuteSwitchStates found_;
    std::vector<uint32_t> handled_;
};

}  // namespace

uint32_t ReadWaveVolume(MultimediaCalls& calls) {
    uint32_t volume = 0;
    if (!HasVolumeControl(calls) || !calls.GetWaveMapperVolume(volume)) return 0;
    return volume;
}

uint32_t SetWaveVolume(MultimediaCalls& calls, uint32_t volume) {
    uint32_t old = 0;
    ChangeWaveVolume(calls, volume, old);
    return old;
}

MuteSwitchStates MuteSwitchStates::AllOn() {
    MuteSwitchStates states;
    states.allOn_ = true;
    return states;
}

std::optional<bool> MuteSwitchStates::Wanted(size_t index) const {
    if (allOn_) return true;
    // A switch that was not there when the states were taken is left as it is.
    if (index >= states_.size()) return std::nullopt;
    return static_cast<bool>(states_[index]);
}

uint32_t MuteSwitchStates::Mask() const {
    uint32_t mask = 0;
    for (size_t i = 0; i < states_.size() && i < 32; ++i)
        if (states_[i]) mask |= uint32_t{1} << i;
    return mask;
}

MuteSwitchStates SetMixerMutes(MultimediaCalls& calls, const MuteSwitchStates& wanted, bool apply) {
    return MixerWalk(calls, wanted, apply).Run();
}

SavedSound MuteSound(MultimediaCalls& calls) {
    SavedSound saved;
    saved.Muted = true;
    saved.WaveVolume = ReadWaveVolume(calls);
    saved.MixerSwitches = SetMixerMutes(calls, MuteSwitchStates::AllOn(), true);
    uint32_t ignored = 0;
    // A volume that could not be read was not changed, and so is not written back either.
    saved.WaveVolumeChanged = ChangeWaveVolume(calls, 0, ignored);
    return saved;
}

void RestoreSound(MultimediaCalls& calls, SavedSound& saved) {
    if (!saved.Muted) return;
    SetMixerMutes(calls, saved.MixerSwitches, true);
    if (saved.WaveVolumeChanged) SetWaveVolume(calls, saved.WaveVolume);
    saved = SavedSound{};
}
