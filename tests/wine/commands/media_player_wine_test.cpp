// The MIDI player over the system's MCI: a MIDI file of our own opens and reports its length; a
// file that cannot be opened raises the system's text for the error.
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include "commands/media_player.h"
#include "commands/win32/win32_mci_calls.h"
#include "support/test_files.h"

using namespace testsupport;

TEST(MediaPlayerWine, OpensOurMidiFileAndClosesIt) {
    TempDir dir("midi");
    const std::string file = dir.File("music.mid");
    WriteFileBytes(file, ReadFileBytes(BinPath("standin_music.mid")));
    Win32MciCalls calls;
    {
        TMediaPlayer player(calls);
        player.FileName = file;
        player.Open();
        EXPECT_TRUE(player.Opened);
        EXPECT_NE(player.DeviceID, 0);
        EXPECT_GT(player.GetLength(), 0u);
        EXPECT_EQ(player.GetPosition(), 0u);
        EXPECT_NE(player.GetMode(), TMPModes::Playing);
        player.Close();
        EXPECT_EQ(player.Error, 0u);
        EXPECT_FALSE(player.Opened);
        EXPECT_EQ(player.DeviceID, 0);
    }
    // Closed: the file can go.
    EXPECT_TRUE(DeleteFileA(file.c_str()));
}

TEST(MediaPlayerWine, DestructionClosesTheOpenDevice) {
    TempDir dir("midi");
    const std::string file = dir.File("music.mid");
    WriteFileBytes(file, ReadFileBytes(BinPath("standin_music.mid")));
    Win32MciCalls calls;
    {
        TMediaPlayer player(calls);
        player.FileName = file;
        player.Open();
    }
    EXPECT_TRUE(DeleteFileA(file.c_str()));
}

TEST(MediaPlayerWine, MissingFileRaisesTheSystemsErrorText) {
    TempDir dir("midi");
    Win32MciCalls calls;
    TMediaPlayer player(calls);
    player.FileName = dir.File("missing.mid");
    try {
        player.Open();
        FAIL() << "no error";
    } catch (const EMCIDeviceError& error) {
        char expected[4097] = {};
        ASSERT_NE(player.Error, 0u);
        if (mciGetErrorStringA(player.Error, expected, 4096) && expected[0]) {
            EXPECT_STREQ(error.what(), expected);
        } else {
            EXPECT_STREQ(error.what(), "Unknown MCI Error");
        }
    }
    EXPECT_FALSE(player.Opened);
}
