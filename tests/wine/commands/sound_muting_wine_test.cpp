// Sound muting over the system's multimedia library. Under Wine the switch values do not stick
// (a read returns what was passed in), so this proves the walk itself with real calls: devices,
// lines, controls, one read and one write per distinct switch, each device closed; and the wave
// volume given back as it was.
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/sound_muting.h"
#include "commands/win32/win32_multimedia_calls.h"
#include "support/mixer_switches.h"

using namespace testsupport;

namespace {

// Passes every call on to the system and counts what the walk did.
class CountingCalls : public Win32MultimediaCalls {
public:
    int Opens = 0, Closes = 0;
    std::vector<std::pair<MixerHandle, uint32_t>> Reads, Writes;

    bool OpenMixer(uint32_t device, MixerHandle& mixer) override {
        const bool opened = Win32MultimediaCalls::OpenMixer(device, mixer);
        Opens += opened;
        return opened;
    }
    void CloseMixer(MixerHandle mixer) override {
        ++Closes;
        Win32MultimediaCalls::CloseMixer(mixer);
    }
    bool ReadSwitch(MixerHandle mixer, uint32_t id, uint32_t& value) override {
        Reads.push_back({mixer, id});
        return Win32MultimediaCalls::ReadSwitch(mixer, id, value);
    }
    bool WriteSwitch(MixerHandle mixer, uint32_t id, uint32_t value) override {
        Writes.push_back({mixer, id});
        return Win32MultimediaCalls::WriteSwitch(mixer, id, value);
    }
};

}  // namespace

TEST(SoundMutingWine, WalkReadsAndWritesEachWaveSwitchOnceAndClosesEveryDevice) {
    const size_t switches = CountWaveMuteSwitches();
    CountingCalls calls;
    const MuteSwitchStates before = SetMixerMutes(calls, MuteSwitchStates::AllOn(), true);
    EXPECT_EQ(before.Count(), switches);
    EXPECT_EQ(calls.Reads.size(), switches);
    EXPECT_EQ(calls.Writes, calls.Reads);
    EXPECT_EQ(calls.Opens, calls.Closes);
    EXPECT_EQ(static_cast<UINT>(calls.Opens), mixerGetNumDevs());

    CountingCalls restore;
    SetMixerMutes(restore, before, true);
    EXPECT_EQ(restore.Writes.size(), switches);
    EXPECT_EQ(restore.Opens, restore.Closes);
    if (mixerGetNumDevs() == 0) std::printf("note: no mixer devices (sound server not running)\n");
}

TEST(SoundMutingWine, WaveVolumeIsMutedAndGivenBackAsItWas) {
    Win32MultimediaCalls calls;
    const uint32_t before = ReadWaveVolume(calls);
    SavedSound saved = MuteSound(calls);
    EXPECT_EQ(saved.WaveVolume, before);
    if (saved.WaveVolumeChanged) {
        EXPECT_EQ(ReadWaveVolume(calls), 0u);
    }
    RestoreSound(calls, saved);
    EXPECT_EQ(ReadWaveVolume(calls), before);
}
