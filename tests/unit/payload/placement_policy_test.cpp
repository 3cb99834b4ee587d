#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "payload/engine_error.h"
#include "payload/file_placement.h"
#include "placement_fakes.h"

namespace {

const char kWork[] = "C:\\Work\\";

enum class Pass { Settings, Probe, Full };

struct Outcome {
    std::string Name;
    std::string Directory;
    bool Skip;
};

class PlacementPolicy : public ::testing::Test {
protected:
    FakePlacementFileSystem fs;
    FilePlacement placement;
    int32_t slot = 0;
    bool midiMuted = false;

    void Begin(Pass pass) {
        placement.SettingsPass = pass == Pass::Settings;
        placement.ProbeMode = pass == Pass::Probe;
    }

    Outcome Handle(const std::string& name, const std::string& recordPlacement, const std::string& target = kWork) {
        Outcome out{name, target, false};
        placement.HandleExtractedFile(fs, out.Name, out.Directory, out.Skip, recordPlacement, target, slot, midiMuted);
        return out;
    }
};

struct PassCase {
    const char* Name;
    const char* Placement;
    // Expected outcome in each pass: "" means skipped, otherwise "directory|name".
    const char* Settings;
    const char* Full;
};

TEST_F(PlacementPolicy, EveryKindOfFileInTheSettingsProbeAndFullPasses) {
    const PassCase cases[] = {
        {"install.EXE", ".", "", "C:\\Work\\|install.exe"},
        {"Player.exe", "", "", "C:\\Work\\|player.exe"},
        {"quenbyrun.dll", "", "", "C:\\Work\\|quenbyrun0.dll"},
        {"Settings.INI", "", "C:\\Work\\|settings.ini", ""},
        {"notes.ini", "docs", "C:\\Work\\|notes.ini", "C:\\Work\\docs\\|notes.ini"},
        {"setup.ini", ".", "C:\\Work\\|setup.ini", "C:\\Work\\|setup.ini"},
        {"Movie.SWF", "", "", "C:\\Work\\|movie.swf"},
        {"intro.swf", "movies\\intro", "", "C:\\Work\\movies\\intro\\|intro.swf"},
        {"Music.MID", "", "", "C:\\Work\\|music.mid"},
        {"Editor.VTools.ini", "", "", "C:\\Work\\editor|vtools.ini"},
        {"editor.exe", "VTOOL.editor", "", "C:\\Work\\|editor.exe"},
        {"editor.ini", "VTOOL.editor", "C:\\Work\\|editor.ini", ""},
        {"lower.exe", "vtool.x", "", "C:\\Work\\vtool.x\\|lower.exe"},  // the tool prefix is case-sensitive
        {"noext", "", "", "C:\\Work\\|noext"},
    };
    for (const PassCase& c : cases) {
        for (Pass pass : {Pass::Settings, Pass::Probe, Pass::Full}) {
            placement = FilePlacement();
            Begin(pass);
            const Outcome out = Handle(c.Name, c.Placement);
            const std::string what = std::string(c.Name) + " placement \"" + c.Placement + "\" pass " +
                                     std::to_string(static_cast<int>(pass));
            if (pass == Pass::Probe) {
                EXPECT_TRUE(out.Skip) << what;
                EXPECT_EQ(out.Name, c.Name) << what;  // untouched
                EXPECT_EQ(placement.PlacementSeen, std::string(c.Placement) != "") << what;
                continue;
            }
            const std::string expected = pass == Pass::Settings ? c.Settings : c.Full;
            EXPECT_EQ(out.Skip, expected.empty()) << what;
            if (!expected.empty()) {
                EXPECT_EQ(out.Directory + "|" + out.Name, expected) << what;
            }
            EXPECT_FALSE(placement.PlacementSeen) << what;
        }
    }
}

TEST_F(PlacementPolicy, TheProbePassOfASettingsRunNeverSeesPlacements) {
    placement.ProbeMode = true;
    placement.SettingsPass = true;
    EXPECT_TRUE(Handle("a.swf", "movies").Skip);
    EXPECT_FALSE(placement.PlacementSeen);
}

TEST_F(PlacementPolicy, FullPassRecordsTheSessionLikeTheEngineNeedsIt) {
    Begin(Pass::Full);
    Handle("install.EXE", ".");
    Handle("Player.exe", "");
    Handle("quenbyrun.dll", "");
    Handle("show.ini", "");
    Handle("intro.swf", "Movies\\Intro");
    Handle("outro.swf", "movies\\intro");
    Handle("track.rmi", "");
    Handle("editor.vtools.ini", "");
    Handle("editor.exe", "VTOOL.editor");
    Handle("data.bin", "");

    EXPECT_EQ(placement.ProjectorFile, "player.exe");
    EXPECT_EQ(placement.ProjectorOriginalName, "player.exe");
    EXPECT_EQ(placement.HookLibraryFile, "quenbyrun0.dll");
    EXPECT_EQ(placement.MidiFile, "track.rmi");
    EXPECT_EQ(placement.SettingsFileName, "");
    EXPECT_EQ(placement.ExtractedFiles,
              (std::vector<std::string>{"C:\\Work\\install.exe", "C:\\Work\\Movies\\Intro\\intro.swf",
                                        "C:\\Work\\movies\\intro\\outro.swf", "C:\\Work\\data.bin"}));
    // Two levels made once, with all parents, and the text recorded once as first written.
    EXPECT_EQ(fs.TreesCreated, std::vector<std::string>{"C:\\Work\\Movies\\Intro"});
    EXPECT_EQ(placement.PlacementDirs, std::vector<std::string>{"Movies\\Intro"});
    EXPECT_EQ(placement.ToolDirs, (std::vector<std::string>{"C:\\Work\\editor\\", "C:\\Work\\editor\\vtools.ini"}));
    EXPECT_EQ(fs.SingleDirsCreated, std::vector<std::string>{"C:\\Work\\editor"});
    ASSERT_EQ(placement.ToolFiles.size(), 1u);
    EXPECT_EQ(placement.ToolFiles[0].Path, "C:\\Work\\editor.exe");
    EXPECT_EQ(placement.ToolFiles[0].Placement, "VTOOL.editor");

    placement.ClearForFullPass();
    EXPECT_TRUE(placement.ProjectorFile.empty() && placement.HookLibraryFile.empty() && placement.MidiFile.empty());
    EXPECT_TRUE(placement.ExtractedFiles.empty() && placement.ToolFiles.empty() && placement.ToolDirs.empty() &&
                placement.PlacementDirs.empty());
}

TEST_F(PlacementPolicy, ALockedProjectorGetsTheNextFreeNumber) {
    Begin(Pass::Full);
    fs.Locked = {"C:\\Work\\player.exe", "C:\\Work\\player1.exe"};
    fs.Files["C:\\Work\\player2.exe"] = "old";  // deletable: taken over
    EXPECT_EQ(Handle("Player.exe", "").Name, "player2.exe");
    EXPECT_EQ(placement.ProjectorFile, "player2.exe");
    EXPECT_EQ(placement.ProjectorOriginalName, "player.exe");
    EXPECT_EQ(fs.Files.count("C:\\Work\\player2.exe"), 0u);

    fs.Locked = {"C:\\Work\\player.exe"};
    EXPECT_EQ(Handle("player.exe", "").Name, "player1.exe");
}

TEST_F(PlacementPolicy, TheHookLibraryIsNumberedFromTheSlotAwayFromZero) {
    struct Case {
        int32_t Slot;
        std::vector<std::string> Locked;
        const char* Expected;
    };
    const Case cases[] = {
        {0, {}, "quenbyrun0.dll"},
        {3, {}, "quenbyrun3.dll"},
        {0, {"quenbyrun0.dll", "quenbyrun1.dll"}, "quenbyrun2.dll"},
        {-1, {}, "quenbyrun-1.dll"},
        {-1, {"quenbyrun-1.dll"}, "quenbyrun-2.dll"},
        {5, {"quenbyrun5.dll"}, "quenbyrun6.dll"},
    };
    for (const Case& c : cases) {
        placement = FilePlacement();
        Begin(Pass::Full);
        slot = c.Slot;
        fs.Locked.clear();
        for (const std::string& name : c.Locked) fs.Locked.insert(std::string(kWork) + name);
        EXPECT_EQ(Handle("QuenbyRun.DLL", "").Name, c.Expected) << c.Slot;
        EXPECT_EQ(placement.HookLibraryFile, c.Expected) << c.Slot;
    }
}

TEST_F(PlacementPolicy, MutedMidiIsNotWritten) {
    Begin(Pass::Full);
    midiMuted = true;
    EXPECT_TRUE(Handle("tune.mid", "").Skip);
    EXPECT_TRUE(Handle("tune.RMI", "").Skip);
    EXPECT_EQ(placement.MidiFile, "");
    // A placed MIDI file is an ordinary placed file.
    EXPECT_FALSE(Handle("tune.mid", "music").Skip);
    midiMuted = false;
    EXPECT_FALSE(Handle("Tune.mid", "").Skip);
    EXPECT_EQ(placement.MidiFile, "tune.mid");
}

TEST_F(PlacementPolicy, TheLastProjectorAndLibraryWin) {
    Begin(Pass::Full);
    Handle("a.exe", "");
    Handle("b.exe", "");
    Handle("x.dll", "");
    Handle("y.dll", "");
    EXPECT_EQ(placement.ProjectorFile, "b.exe");
    EXPECT_EQ(placement.HookLibraryFile, "y0.dll");
}

TEST_F(PlacementPolicy, PlacementsThatLeaveTheWorkingDirectoryAreRefused) {
    const char* const refused[] = {"..",        "..\\up",      "a\\..\\..\\b", "a/../b",      "\\abs",
                                   "/abs",      "C:\\Windows", "C:rel",        "sub\\file:ads", "...",
                                   "a\\.. \\b", "\\\\server\\share"};
    for (const char* bad : refused) {
        Begin(Pass::Full);
        try {
            Handle("evil.exe", bad);
            ADD_FAILURE() << bad << " was accepted";
        } catch (const EngineError& e) {
            EXPECT_NE(std::string(e.what()).find("evil.exe"), std::string::npos) << e.what();
        }
        EXPECT_TRUE(fs.TreesCreated.empty()) << bad;
    }
    const char* const accepted[] = {"sub", "a\\b\\c", "a/b", ".\\sub", "..name", "name..", "a.b"};
    for (const char* good : accepted) EXPECT_TRUE(IsContainedPlacement(good)) << good;
    EXPECT_THROW(Handle("...vtools.ini", ""), EngineError);  // a tool folder named ".."
}

TEST_F(PlacementPolicy, TheSettingsPassKeepsOnlyIniFilesAndSkipsToolSettings) {
    Begin(Pass::Settings);
    EXPECT_TRUE(Handle("editor.vtools.ini", "").Skip);
    EXPECT_TRUE(placement.ToolDirs.empty());
    // Exactly the suffix names no tool: it is an ordinary ".ini" file.
    EXPECT_FALSE(Handle(".VTools.ini", "").Skip);
    EXPECT_EQ(placement.SettingsFileName, ".vtools.ini");
}

}  // namespace
