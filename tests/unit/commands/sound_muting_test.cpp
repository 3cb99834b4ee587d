// Sound muting against fake mixers: which switches the walk finds, what it writes, and that the
// restore gives every switch and the wave volume back exactly.
#include <gtest/gtest.h>

#include "commands/sound_muting.h"
#include "fake_multimedia.h"

namespace {

// Device 0: a speakers destination whose wave source has mute 3 and a volume control, a second
// wave source repeating mute 3 (same control id under another destination below), a
// non-wave source with mute 9; a recording destination with mute 5; a MIDI destination with
// mute 6. Device 1 uses control id 3 too, for its own switch.
std::vector<FakeMixerDevice> TypicalMixers() {
    FakeMixerDevice first;
    FakeDestination speakers;
    speakers.Sources = {FakeSource{mm::kTargetTypeWaveOut, {VolumeControl(2), Mute(3)}},
                        FakeSource{mm::kTargetTypeMidiOut, {Mute(9)}},
                        FakeSource{mm::kTargetTypeWaveOut, {Mute(4)}}};
    FakeDestination headphones;
    headphones.TargetType = mm::kTargetTypeAux;
    headphones.Sources = {FakeSource{mm::kTargetTypeWaveOut, {Mute(3), Mute(7)}}};
    FakeDestination recording;
    recording.TargetType = mm::kTargetTypeWaveIn;
    recording.Sources = {FakeSource{mm::kTargetTypeWaveOut, {Mute(5)}}};
    FakeDestination midi;
    midi.TargetType = mm::kTargetTypeMidiOut;
    midi.Sources = {FakeSource{mm::kTargetTypeWaveOut, {Mute(6)}}};
    first.Destinations = {speakers, recording, headphones, midi};

    FakeMixerDevice second;
    FakeDestination line;
    line.TargetType = mm::kTargetTypeUndefined;
    line.Sources = {FakeSource{mm::kTargetTypeWaveOut, {Mute(3)}}};
    second.Destinations = {line};
    return {first, second};
}

}  // namespace

TEST(MixerMutes, WalkFindsEachWaveSwitchOnceInOrderAndLeavesOthersAlone) {
    FakeMultimedia fake;
    fake.Devices = TypicalMixers();
    fake.Switches[{0, 4}] = 1;  // on before the run
    fake.Switches[{0, 5}] = 0;
    fake.Switches[{0, 6}] = 0;
    fake.Switches[{0, 9}] = 0;

    const MuteSwitchStates before = SetMixerMutes(fake, MuteSwitchStates::AllOn(), true);
    // Walk order: device 0 mute 3, mute 4, then mute 7 (3 again is skipped); device 1 mute 3.
    EXPECT_EQ(before.Count(), 4u);
    EXPECT_EQ(before.Mask(), 0x2u);
    const std::vector<std::string> expected = {"open 0",  "read 0:3", "write 0:3=1", "read 0:4", "write 0:4=1",
                                               "read 0:7", "write 0:7=1", "close 0", "open 1", "read 1:3",
                                               "write 1:3=1", "close 1"};
    EXPECT_EQ(fake.Log, expected);
    EXPECT_EQ((fake.Switches[{0, 5}]), 0u) << "recording destination touched";
    EXPECT_EQ((fake.Switches[{0, 6}]), 0u) << "MIDI destination touched";
    EXPECT_EQ((fake.Switches[{0, 9}]), 0u) << "non-wave source touched";

    // Reading alone writes nothing.
    fake.Log.clear();
    const MuteSwitchStates now = SetMixerMutes(fake, MuteSwitchStates::AllOn(), false);
    EXPECT_EQ(now.Mask(), 0xFu);
    EXPECT_EQ(fake.Count("write"), 0u);
}

TEST(MixerMutes, UnopenableDevicesAndUnreadableControlListsAreSkippedAndEveryOpenDeviceClosed) {
    FakeMultimedia fake;
    fake.Devices = TypicalMixers();
    fake.Devices[0].Opens = false;
    fake.Devices[1].Destinations[0].Sources.push_back(FakeSource{mm::kTargetTypeWaveOut, {Mute(8)}, true});
    fake.Devices.push_back(FakeMixerDevice{});  // no destinations at all
    const MuteSwitchStates before = SetMixerMutes(fake, MuteSwitchStates::AllOn(), true);
    EXPECT_EQ(before.Count(), 1u);
    EXPECT_EQ(fake.Count("open"), 2u);
    EXPECT_EQ(fake.OpenDevices, 0);
    EXPECT_EQ(fake.Count("write 1:8"), 0u);
}

TEST(SoundMuting, SystemWithoutMixersMutesAndRestoresOnlyTheWaveVolume) {
    FakeMultimedia fake;
    SavedSound saved = MuteSound(fake);
    EXPECT_EQ(saved.MixerSwitches.Mask(), 0u);
    EXPECT_EQ(saved.WaveVolume, 0x80008000u);
    EXPECT_EQ(fake.Volume, 0u);
    RestoreSound(fake, saved);
    EXPECT_EQ(fake.Volume, 0x80008000u);
    EXPECT_EQ(fake.VolumesWritten, (std::vector<uint32_t>{0, 0x80008000u}));
    EXPECT_TRUE(fake.Log.empty());
}

// More switches than a 32-bit mask holds: each one ends as it was, whatever its place.
TEST(SoundMuting, RestoreGivesEverySwitchBackExactlyHoweverMany) {
    FakeMultimedia fake;
    FakeMixerDevice device;
    FakeDestination speakers;
    for (uint32_t source = 0; source < 10; ++source) {
        FakeSource wave;
        for (uint32_t control = 0; control < 7; ++control) wave.Controls.push_back(Mute(source * 10 + control));
        speakers.Sources.push_back(wave);
    }
    device.Destinations = {speakers};
    fake.Devices = {device, device};  // 140 switches in all
    std::map<std::pair<uint32_t, uint32_t>, uint32_t> original;
    uint32_t state = 7;
    for (uint32_t d = 0; d < 2; ++d)
        for (uint32_t id = 0; id < 100; ++id) {
            state = state * 1103515245u + 12345u;
            original[{d, id}] = (state >> 16) & 1;
        }
    fake.Switches = original;

    SavedSound saved = MuteSound(fake);
    EXPECT_EQ(saved.MixerSwitches.Count(), 140u);
    for (const auto& [key, value] : fake.Switches) {
        if (key.second % 10 < 7) {
            EXPECT_EQ(value, 1u) << "switch " << key.first << ":" << key.second << " not muted";
        }
    }
    RestoreSound(fake, saved);
    EXPECT_EQ(fake.Switches, original);
    EXPECT_FALSE(saved.Muted);
}

TEST(SoundMuting, SameIdListedUnderTwoDestinationsIsWrittenOncePerCall) {
    FakeMultimedia fake;
    fake.Devices = TypicalMixers();
    SavedSound saved = MuteSound(fake);
    EXPECT_EQ(fake.Count("write 0:3"), 1u);
    fake.Log.clear();
    RestoreSound(fake, saved);
    EXPECT_EQ(fake.Count("write 0:3=0"), 1u);
    EXPECT_EQ(fake.Count("write"), 4u);
}

struct WaveVolumeCase {
    const char* Name;
    bool CapsWork;
    uint32_t Support;
    bool Readable;
    uint32_t ExpectedSaved;
    std::vector<uint32_t> ExpectedWrites;  // by the muting and the restore together
};

class WaveVolume : public ::testing::TestWithParam<WaveVolumeCase> {};

TEST_P(WaveVolume, SavedAndWrittenAsTheMapperAllows) {
    const WaveVolumeCase& c = GetParam();
    FakeMultimedia fake;
    fake.CapsWork = c.CapsWork;
    fake.Support = c.Support;
    fake.VolumeReadable = c.Readable;
    fake.Volume = 0x12345678;
    EXPECT_EQ(ReadWaveVolume(fake), c.ExpectedSaved);
    SavedSound saved = MuteSound(fake);
    EXPECT_EQ(saved.WaveVolume, c.ExpectedSaved);
    RestoreSound(fake, saved);
    EXPECT_EQ(fake.VolumesWritten, c.ExpectedWrites);
    EXPECT_EQ(fake.Volume, 0x12345678u);
}

INSTANTIATE_TEST_SUITE_P(
    Mapper, WaveVolume,
    ::testing::Values(WaveVolumeCase{"WithVolume", true, mm::kWaveCapsVolume | 8, true, 0x12345678u, {0, 0x12345678u}},
                      WaveVolumeCase{"NoVolumeFlag", true, 8, true, 0, {}},
                      WaveVolumeCase{"NoCaps", false, mm::kWaveCapsVolume, true, 0, {}},
                      // What this machine's Wine does without a sound server.
                      WaveVolumeCase{"FlagButUnreadable", true, mm::kWaveCapsVolume, false, 0, {}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(SoundMuting, SetWaveVolumeReturnsTheOldVolume) {
    FakeMultimedia fake;
    fake.Volume = 0xFFFF0000;
    EXPECT_EQ(SetWaveVolume(fake, 0x1111), 0xFFFF0000u);
    EXPECT_EQ(fake.Volume, 0x1111u);
}

TEST(SoundMuting, RestoreWithoutMutingTouchesNothing) {
    FakeMultimedia fake;
    fake.Devices = TypicalMixers();
    SavedSound none;
    RestoreSound(fake, none);
    EXPECT_TRUE(fake.Log.empty());
    EXPECT_TRUE(fake.VolumesWritten.empty());
}
