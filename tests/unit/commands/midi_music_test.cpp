// The MIDI player against a fake MCI device: the flags of each command, the auto-rewind, the
// errors, and the loop counting of the background music.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "commands/midi_music.h"

namespace {

struct SentCommand {
    uint32_t Command;
    uint32_t Flags;
    uintptr_t Callback;
};

// One device playing an element of Length units; a notifying play ends at once (the test
// delivers the notification itself).
class FakeMci : public MciCalls {
public:
    uint32_t OpenResult = 0;
    std::map<uint32_t, std::string> ErrorTexts;
    uint32_t Length = 1000, Position = 0;
    uint32_t Mode = mci::kModeNotReady + 1;  // stopped
    std::vector<SentCommand> Sent;
    std::string OpenedType, OpenedElement;

    uint32_t Open(uint32_t flags, uintptr_t callback, const std::string& deviceType, const std::string& element,
                  uint16_t& deviceId) override {
        Sent.push_back({mci::kOpen, flags, callback});
        OpenedType = deviceType;
        OpenedElement = element;
        if (OpenResult == 0) deviceId = 7;
        return OpenResult;
    }
    uint32_t Generic(uint16_t deviceId, uint32_t command, uint32_t flags, uintptr_t callback) override {
        EXPECT_EQ(deviceId, 7);
        Sent.push_back({command, flags, callback});
        if (command == mci::kSeek) Position = 0;
        if (command == mci::kStop) Mode = mci::kModeNotReady + 1;
        return 0;
    }
    uint32_t Play(uint16_t deviceId, uint32_t flags, uintptr_t callback, uint32_t, uint32_t) override {
        EXPECT_EQ(deviceId, 7);
        Sent.push_back({mci::kPlay, flags, callback});
        Position = Length;  // played to the end
        Mode = mci::kModeNotReady + 2;  // playing
        return 0;
    }
    uint32_t Status(uint16_t, uint32_t flags, uint32_t item, uint32_t& value) override {
        EXPECT_EQ(flags, mci::kWait | mci::kStatusItem);
        value = item == mci::kStatusLength ? Length : item == mci::kStatusPosition ? Position : Mode;
        return 0;
    }
    bool ErrorText(uint32_t code, std::string& text) override {
        auto found = ErrorTexts.find(code);
        if (found == ErrorTexts.end()) return false;
        text = found->second;
        return true;
    }

    size_t Count(uint32_t command) const {
        size_t n = 0;
        for (const SentCommand& s : Sent) n += s.Command == command;
        return n;
    }
    uint32_t FlagsOfLast(uint32_t command) const {
        for (auto it = Sent.rbegin(); it != Sent.rend(); ++it)
            if (it->Command == command) return it->Flags;
        return 0xFFFFFFFF;
    }
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// The player

struct ChoiceCase {
    const char* Name;
    bool SetWait, Wait, SetNotify, Notify;
    uint32_t StopFlags;  // an ordinary command
    uint32_t PlayFlags;  // play's reversed defaults
};

class PlayerChoices : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(PlayerChoices, WaitAndNotifyLastOneCommand) {
    const ChoiceCase& c = GetParam();
    FakeMci mci;
    TMediaPlayer player(mci);
    player.FileName = "x.mid";
    player.Open();
    for (uint32_t command : {mci::kStop, mci::kPlay}) {
        if (c.SetWait) {
            player.Wait = c.Wait;
            player.WaitSet = true;
        }
        if (c.SetNotify) player.SetNotify(c.Notify);
        mci.Position = 0;
        if (command == mci::kStop)
            player.Stop();
        else
            player.Play();
        EXPECT_EQ(mci.FlagsOfLast(command), command == mci::kStop ? c.StopFlags : c.PlayFlags) << command;
        EXPECT_FALSE(player.WaitSet);
        EXPECT_FALSE(player.NotifySet);
    }
    // Used up: the next command has the defaults again.
    player.Stop();
    EXPECT_EQ(mci.FlagsOfLast(mci::kStop), mci::kWait);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, PlayerChoices,
    ::testing::Values(ChoiceCase{"Defaults", false, false, false, false, mci::kWait, mci::kNotify},
                      ChoiceCase{"WaitOn", true, true, false, false, mci::kWait, mci::kWait | mci::kNotify},
                      ChoiceCase{"WaitOff", true, false, false, false, 0, mci::kNotify},
                      ChoiceCase{"NotifyOn", false, false, true, true, mci::kWait | mci::kNotify, mci::kNotify},
                      ChoiceCase{"NotifyOff", false, false, true, false, mci::kWait, 0}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Player, OpenNamesTheElementAndTheCallbackAndClosesAnEarlierDevice) {
    FakeMci mci;
    TMediaPlayer player(mci);
    player.NotifyWindow = 0x1234;
    player.FileName = "C:\\w\\music.mid";
    player.Open();
    EXPECT_TRUE(player.Opened);
    EXPECT_EQ(player.DeviceID, 7);
    EXPECT_EQ(mci.Sent.back().Flags, mci::kWait | mci::kOpenElement);
    EXPECT_EQ(mci.Sent.back().Callback, 0x1234u);
    EXPECT_EQ(mci.OpenedElement, "C:\\w\\music.mid");
    EXPECT_EQ(mci.OpenedType, "");

    player.DeviceType = TMPDeviceType::Sequencer;
    player.Shareable = true;
    player.Open();
    EXPECT_EQ(mci.Count(mci::kClose), 1u);
    EXPECT_EQ(mci.Sent.back().Flags, mci::kWait | mci::kOpenElement | mci::kOpenType | mci::kOpenShareable);
    EXPECT_EQ(mci.OpenedType, "Sequencer");
}

TEST(Player, OpenFailureRaisesTheMciTextOrUnknownMciError) {
    FakeMci mci;
    mci.OpenResult = 275;
    mci.ErrorTexts[275] = "The specified file cannot be found.";
    TMediaPlayer player(mci);
    player.FileName = "gone.mid";
    try {
        player.Open();
        FAIL() << "no error";
    } catch (const EMCIDeviceError& error) {
        EXPECT_STREQ(error.what(), "The specified file cannot be found.");
    }
    EXPECT_FALSE(player.Opened);
    mci.OpenResult = 999;
    try {
        player.Open();
        FAIL() << "no error";
    } catch (const EMCIDeviceError& error) {
        EXPECT_STREQ(error.what(), "Unknown MCI Error");
    }
}

TEST(Player, CommandsOnAClosedDeviceRaiseDeviceNotOpenAndCloseDoesNothing) {
    FakeMci mci;
    TMediaPlayer player(mci);
    for (auto command : {&TMediaPlayer::Stop, &TMediaPlayer::Rewind}) {
        try {
            (player.*command)();
            FAIL() << "no error";
        } catch (const EMCIDeviceError& error) {
            EXPECT_STREQ(error.what(), "Device Not Open");
        }
    }
    EXPECT_THROW(player.Play(), EMCIDeviceError);
    EXPECT_EQ(player.GetMode(), TMPModes::NotReady);
    player.Close();
    EXPECT_TRUE(mci.Sent.empty());
}

TEST(Player, PlayAtTheEndRewindsFirstUnlessAPositionIsSet) {
    FakeMci mci;
    TMediaPlayer player(mci);
    player.FileName = "x.mid";
    player.Open();
    mci.Position = 500;
    player.Play();
    EXPECT_EQ(mci.Count(mci::kSeek), 0u);
    player.Play();  // now at the end
    EXPECT_EQ(mci.Count(mci::kSeek), 1u);
    EXPECT_EQ(mci.FlagsOfLast(mci::kSeek), mci::kWait | mci::kSeekToStart);

    player.FromSet = true;
    player.FromPosition = 10;
    player.Play();
    EXPECT_EQ(mci.Count(mci::kSeek), 1u);
    EXPECT_EQ(mci.FlagsOfLast(mci::kPlay), mci::kNotify | mci::kFrom);
    EXPECT_FALSE(player.FromSet);
    player.AutoRewind = false;
    player.Play();
    EXPECT_EQ(mci.Count(mci::kSeek), 1u);
}

TEST(Player, NotificationsSetTheValueAndReachTheHandler) {
    FakeMci mci;
    TMediaPlayer player(mci);
    int calls = 0;
    player.OnNotify = [&](TMediaPlayer& sender) {
        EXPECT_EQ(&sender, &player);
        ++calls;
    };
    const std::pair<uintptr_t, TMPNotifyValue> cases[] = {{mci::kNotifySuperseded, TMPNotifyValue::Superseded},
                                                         {mci::kNotifyAborted, TMPNotifyValue::Aborted},
                                                         {0x40, TMPNotifyValue::Aborted},  // unknown: unchanged
                                                         {mci::kNotifyFailure, TMPNotifyValue::Failure},
                                                         {mci::kNotifySuccessful, TMPNotifyValue::Successful}};
    for (const auto& [wParam, value] : cases) {
        player.HandleNotifyMessage(wParam);
        EXPECT_EQ(player.NotifyValue, value) << wParam;
    }
    EXPECT_EQ(calls, 5);
}

TEST(Player, DestructionClosesAnOpenDeviceWaiting) {
    FakeMci mci;
    {
        TMediaPlayer player(mci);
        player.FileName = "x.mid";
        player.Open();
    }
    EXPECT_EQ(mci.Count(mci::kClose), 1u);
    EXPECT_EQ(mci.FlagsOfLast(mci::kClose), mci::kWait);
}

// ---------------------------------------------------------------------------------------------
// The background music

struct LoopCase {
    const char* Name;
    bool Loop;
    int32_t LoopsLeft;   // as the main object holds it: 0 in the settings is stored as 2147483647
    int Notifications;   // delivered by the test
    size_t ExpectedPlays;
    int32_t ExpectedLoopsLeft;
};

class MidiLoops : public ::testing::TestWithParam<LoopCase> {};

TEST_P(MidiLoops, PlaysAsOftenAsTheSettingsSay) {
    const LoopCase& c = GetParam();
    FakeMci mci;
    TMediaPlayer player(mci);
    bool muted = false;
    int32_t loopsLeft = c.LoopsLeft;
    MidiMusicState state{muted, c.Loop, loopsLeft};
    ASSERT_TRUE(StartMidi(player, "C:\\w\\music.mid", true, 0x99, state, [&] { MidiPlayDone(player, state); }));
    EXPECT_EQ(static_cast<bool>(player.OnNotify), c.Loop);
    EXPECT_EQ(mci.FlagsOfLast(mci::kPlay), mci::kNotify);
    EXPECT_EQ(mci.Sent.front().Callback, 0x99u);
    for (int i = 0; i < c.Notifications; ++i) player.HandleNotifyMessage(mci::kNotifySuccessful);
    EXPECT_EQ(mci.Count(mci::kPlay), c.ExpectedPlays);
    EXPECT_EQ(loopsLeft, c.ExpectedLoopsLeft);
    // Every repeat starts from the beginning, and asks for its own notification.
    EXPECT_EQ(mci.Count(mci::kSeek), c.ExpectedPlays - 1);
    EXPECT_EQ(mci.FlagsOfLast(mci::kPlay), mci::kNotify);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, MidiLoops,
    ::testing::Values(LoopCase{"ThreeTimes", true, 3, 3, 3, 0},
                      LoopCase{"WithoutLimit", true, 2147483647, 50, 51, 2147483647 - 50},
                      LoopCase{"LoopOff", false, 3, 3, 1, 3}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(MidiMusic, MissingFileOrMciFailureMeansNoMusicQuietly) {
    FakeMci mci;
    TMediaPlayer player(mci);
    bool muted = false;
    int32_t loopsLeft = 3;
    MidiMusicState state{muted, true, loopsLeft};
    EXPECT_FALSE(StartMidi(player, "", true, 1, state, [] {}));
    EXPECT_FALSE(StartMidi(player, "C:\\w\\music.mid", false, 1, state, [] {}));
    EXPECT_TRUE(mci.Sent.empty());
    mci.OpenResult = 263;  // not a device this system can open
    EXPECT_FALSE(StartMidi(player, "C:\\w\\music.mid", true, 1, state, [] {}));
    EXPECT_FALSE(player.Opened);
    EXPECT_EQ(mci.Count(mci::kPlay), 0u);
}

TEST(MidiMusic, MutedMidiCountsNoLoopAndPlaysNoMore) {
    FakeMci mci;
    TMediaPlayer player(mci);
    bool muted = false;
    int32_t loopsLeft = 5;
    MidiMusicState state{muted, true, loopsLeft};
    StartMidi(player, "m.mid", true, 1, state, [&] { MidiPlayDone(player, state); });
    muted = true;
    player.HandleNotifyMessage(mci::kNotifySuccessful);
    EXPECT_EQ(loopsLeft, 5);
    EXPECT_EQ(mci.Count(mci::kPlay), 1u);
}

TEST(MidiMusic, ShutdownWhilePlayingStopsClosesAndStartsNothingMore) {
    FakeMci mci;
    TMediaPlayer player(mci);
    bool muted = false;
    int32_t loopsLeft = 2147483647;
    MidiMusicState state{muted, true, loopsLeft};
    StartMidi(player, "m.mid", true, 1, state, [&] { MidiPlayDone(player, state); });
    int pumps = 0;
    // The stop's notification arrives while the queue is pumped.
    StopMidi(player, state, [&] {
        if (++pumps == 1) player.HandleNotifyMessage(mci::kNotifyAborted);
    });
    EXPECT_TRUE(muted);
    EXPECT_EQ(pumps, 2);
    EXPECT_EQ(mci.Count(mci::kStop), 1u);
    EXPECT_EQ(mci.Count(mci::kPlay), 1u);
    EXPECT_EQ(mci.Count(mci::kClose), 1u);
    EXPECT_FALSE(player.Opened);
    EXPECT_EQ(player.DeviceID, 0);
    const uint32_t order[] = {mci::kStop, mci::kClose};
    EXPECT_EQ(mci.Sent[mci.Sent.size() - 2].Command, order[0]);
    EXPECT_EQ(mci.Sent.back().Command, order[1]);
}

TEST(MidiMusic, ShutdownOfAStoppedOrNeverOpenedPlayerOnlyCloses) {
    FakeMci mci;
    TMediaPlayer player(mci);
    bool muted = false;
    int32_t loopsLeft = 1;
    MidiMusicState state{muted, false, loopsLeft};
    StopMidi(player, state, nullptr);
    EXPECT_TRUE(mci.Sent.empty());
    StartMidi(player, "m.mid", true, 1, state, nullptr);
    mci.Mode = mci::kModeNotReady + 1;  // stopped by itself
    StopMidi(player, state, nullptr);
    EXPECT_EQ(mci.Count(mci::kStop), 0u);
    EXPECT_EQ(mci.Count(mci::kClose), 1u);
}
