#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "payload/engine_error.h"
#include "payload/settings_file.h"
#include "payload/settings_loader.h"
#include "payload/user_settings_values.h"
#include "placement_fakes.h"

namespace {

const char kTemp[] = "C:\\Temp\\";

// Reads an INI text as the loader does after the settings pass found it.
Options Load(const std::string& ini, FakeUserSettingsStore* store = nullptr, Options start = {}) {
    MarkUserChoosableOptions(start);
    ReadSettingsFile(SettingsFile(ini), "Demo", start);
    ApplyUserSettings(store, start);
    return start;
}

struct SwitchKey {
    const char* Key;
    OptionSwitch Options::*Field;
    bool Default;
};

const SwitchKey kSwitchKeys[] = {
    {"DisableW95Key", &Options::DisableW95Key, true},
    {"DisableScreenSaver", &Options::DisableScreenSaver, true},
    {"DisableClickForeground", &Options::DisableClickForeground, false},
    {"FullScreen", &Options::FullScreen, false},
    {"CustomSize", &Options::CustomSize, false},
    {"MaintainRatio", &Options::MaintainRatio, true},
    {"AllowResize", &Options::AllowResize, true},
    {"ExitOnESC", &Options::ExitOnESC, true},
    {"AlwaysOnTop", &Options::AlwaysOnTop, false},
    {"NoTitle", &Options::NoTitle, false},
    {"NoBorder", &Options::NoBorder, false},
    {"Draggable", &Options::Draggable, false},
    {"SetupMenu", &Options::SetupMenu, false},
    {"CloseMenu", &Options::CloseMenu, true},
    {"MinimizeMenu", &Options::MinimizeMenu, false},
    {"DLL", &Options::DLL, true},
};

struct IntegerKey {
    const char* Section;
    const char* Key;
    int32_t Options::*Field;
    int32_t Default;
};

const IntegerKey kIntegerKeys[] = {
    {"ProjectorVersion", "Major", &Options::Major, 4},
    {"Settings", "Password", &Options::Password, 1},
    {"Settings", "AlignmentX", &Options::AlignmentX, 0},
    {"Settings", "HideCursor", &Options::HideCursor, 0},
    {"Settings", "CurrentDir", &Options::CurrentDir, 0},
    {"Settings", "PassESC", &Options::PassESC, 0},
    {"Settings", "Left", &Options::Left, 0},
    {"Settings", "Top", &Options::Top, 0},
    {"Settings", "Width", &Options::Width, 640},
    {"Settings", "Height", &Options::Height, 480},
    {"Settings", "AlignmentV", &Options::AlignmentV, 2},
    {"Settings", "AlignmentH", &Options::AlignmentH, 2},
    {"Settings", "MidiLoopTimes", &Options::MidiLoopTimes, 0},
};

TEST(SettingsLoader, AnEmptySettingsFileGivesEveryDefault) {
    const Options o = Load("[Settings]\r\n");
    for (const SwitchKey& k : kSwitchKeys) EXPECT_EQ((o.*k.Field).Value, k.Default) << k.Key;
    for (const IntegerKey& k : kIntegerKeys) EXPECT_EQ(o.*k.Field, k.Default) << k.Key;
    EXPECT_FALSE(o.StartInFullscreenMode.Value);
    EXPECT_EQ(o.BeforeShow, "");
    EXPECT_EQ(o.ScreenName, "Demo");
    EXPECT_EQ(o.PWEditLabel, "Please enter password:");
    EXPECT_EQ(o.PWrong, "Wrong password!");
    for (int32_t entry : o.RightMenuDeleteItems) EXPECT_EQ(entry, 0);
    // Left to the end user, who never chose: audible, MIDI on, mouse exits, menu hidden, keys play.
    for (const OptionSwitch* s : {&o.Sound, &o.Midi, &o.Interaction, &o.RightClickMenu, &o.KeyInteraction})
        EXPECT_TRUE(s->UserChoosable);
    EXPECT_TRUE(o.Sound.Value);
    EXPECT_FALSE(o.Midi.Value);
    EXPECT_FALSE(o.Interaction.Value);
    EXPECT_FALSE(o.RightClickMenu.Value);
    EXPECT_FALSE(o.RightClickMenu.Enabled);  // follows Interaction
    EXPECT_TRUE(o.KeyInteraction.Value);
    EXPECT_TRUE(o.Sound.Enabled && o.Midi.Enabled && o.Interaction.Enabled && o.KeyInteraction.Enabled);
    EXPECT_FALSE(o.MidiLoop.UserChoosable);
    EXPECT_FALSE(o.MidiLoop.Value);
}

TEST(SettingsLoader, SwitchKeysTakeZeroAndOneAndIgnoreEverythingElse) {
    struct Case {
        const char* Value;  // nullptr: key missing
        bool Before;
        bool DefaultAfter;  // true: expect the key's default
        bool After;
    };
    const Case cases[] = {
        {"0", true, false, false},    {"1", false, false, true},     {"2", true, false, true},
        {"2", false, false, false},   {"-1", true, false, true},     {"0x1", false, false, true},
        {"yes", false, true, false},  {" 1", true, true, false},     {nullptr, false, true, false},
        {nullptr, true, true, false},
    };
    for (const SwitchKey& k : kSwitchKeys) {
        for (const Case& c : cases) {
            Options start;
            (start.*k.Field).Value = c.Before;
            const std::string ini = std::string("[Settings]\n") + (c.Value ? std::string(k.Key) + "=" + c.Value + "\n" : "");
            const Options o = Load(ini, nullptr, start);
            const bool expected = c.DefaultAfter ? k.Default : c.After;
            EXPECT_EQ((o.*k.Field).Value, expected) << k.Key << "=" << (c.Value ? c.Value : "(missing)") << " before "
                                                    << c.Before;
        }
    }
}

TEST(SettingsLoader, IntegerKeysReadDecimalOrHexAndFallBackToTheirDefault) {
    for (const IntegerKey& k : kIntegerKeys) {
        const std::string header = std::string("[") + k.Section + "]\n" + k.Key + "=";
        EXPECT_EQ(Load(header + "0x280\n").*k.Field, 640) << k.Key;
        EXPECT_EQ(Load(header + "-7\n").*k.Field, -7) << k.Key;
        EXPECT_EQ(Load(header + "12px\n").*k.Field, k.Default) << k.Key;
        EXPECT_EQ(Load(header + "\n").*k.Field, k.Default) << k.Key;
        // In the wrong section the key is not seen.
        const std::string wrong = std::string("[") + (std::string(k.Section) == "Settings" ? "ProjectorVersion" : "Settings") +
                                  "]\n" + k.Key + "=99\n";
        EXPECT_EQ(Load(wrong).*k.Field, k.Default) << k.Key;
    }
}

TEST(SettingsLoader, TextKeysAreTakenUnchanged) {
    const Options o = Load(
        "[Settings]\nquenby screen name= My Show \nPWEditLabel=Code?\nPWrong=\n"
        "[EngineCommands]\nBeforeShow=tool.exe /x \"a b\"\n");
    EXPECT_EQ(o.ScreenName, " My Show ");
    EXPECT_EQ(o.PWEditLabel, "Code?");
    EXPECT_EQ(o.PWrong, "");
    EXPECT_EQ(o.BeforeShow, "tool.exe /x \"a b\"");
}

TEST(SettingsLoader, StartInFullscreenModeNeedsCustomSizeOrNoFullScreen) {
    struct Case {
        const char* FullScreen;
        const char* CustomSize;
        const char* Start;
        bool Before;
        bool After;
    };
    const Case cases[] = {
        {"0", "0", "1", false, true},  {"1", "1", "1", false, true},  {"1", "0", "1", false, false},
        {"1", "0", "1", true, true},   {"1", "0", "0", true, false},  {"0", "0", "0", true, false},
        {"0", "0", "2", true, true},   {"0", "0", "2", false, false}, {"0", "1", "x", true, false},
    };
    for (const Case& c : cases) {
        Options start;
        start.StartInFullscreenMode.Value = c.Before;
        const Options o = Load(std::string("[Settings]\nStartInFullscreenMode=") + c.Start + "\nFullScreen=" +
                                   c.FullScreen + "\nCustomSize=" + c.CustomSize + "\n",
                               nullptr, start);
        EXPECT_EQ(o.StartInFullscreenMode.Value, c.After)
            << "FullScreen=" << c.FullScreen << " CustomSize=" << c.CustomSize << " Start=" << c.Start;
    }
}

struct ChoosableKey {
    const char* Key;
    OptionSwitch Options::*Field;
    const char* RegistryValue;
    bool Inverted;      // the option is the opposite of the registry value
    bool RegistryDefault;
};

const ChoosableKey kChoosableKeys[] = {
    {"Sound", &Options::Sound, "Mute", true, false},
    {"Midi", &Options::Midi, "MidiMute", false, false},
    {"Interaction", &Options::Interaction, "MouseExit", true, true},
    {"RightClickMenu", &Options::RightClickMenu, "DisplayRightClickMenu", false, false},
    {"KeyInteraction", &Options::KeyInteraction, "AnyKeyExit", true, false},
};

TEST(SettingsLoader, UserChoosableSwitchesFixedByTheFileOrTakenFromTheRegistry) {
    const char* const fileValues[] = {nullptr, "0", "1", "2", "7", "x"};
    const char* const registryValues[] = {nullptr, "0", "1", "0x10", "junk"};
    for (const ChoosableKey& k : kChoosableKeys) {
        for (const char* fileValue : fileValues) {
            for (const char* registryValue : registryValues) {
                FakeUserSettingsStore store;
                if (registryValue) store.Values[k.RegistryValue] = registryValue;
                std::string ini = "[Settings]\n";
                if (fileValue) ini += std::string(k.Key) + "=" + fileValue + "\n";
                const Options o = Load(ini, &store);
                const OptionSwitch& option = o.*k.Field;
                const std::string what = std::string(k.Key) + "=" + (fileValue ? fileValue : "(missing)") +
                                         " registry " + (registryValue ? registryValue : "(missing)");
                const bool fixed = fileValue && (std::string(fileValue) == "0" || std::string(fileValue) == "1");
                EXPECT_EQ(option.UserChoosable, !fixed) << what;
                bool expected;
                if (fixed) {
                    expected = std::string(fileValue) == "1";
                } else {
                    bool stored = k.RegistryDefault;
                    if (registryValue && std::string(registryValue) != "junk") stored = std::string(registryValue) != "0";
                    expected = k.Inverted ? !stored : stored;
                }
                EXPECT_EQ(option.Value, expected) << what;
            }
        }
    }
}

TEST(SettingsLoader, RightClickMenuIsEnabledOnlyWithMouseInteraction) {
    FakeUserSettingsStore store;
    EXPECT_FALSE(Load("[Settings]\n", &store).RightClickMenu.Enabled);
    store.Values["MouseExit"] = "0";
    EXPECT_TRUE(Load("[Settings]\n", &store).RightClickMenu.Enabled);
    EXPECT_TRUE(Load("[Settings]\nInteraction=1\n").RightClickMenu.Enabled);
    EXPECT_FALSE(Load("[Settings]\nInteraction=0\n", &store).RightClickMenu.Enabled);
}

TEST(SettingsLoader, MidiLoopIsReadButNeverTakenFromTheRegistry) {
    FakeUserSettingsStore store;
    store.Values["MidiLoop"] = "1";
    EXPECT_TRUE(Load("[Settings]\nMidiLoop=1\n", &store).MidiLoop.Value);
    EXPECT_FALSE(Load("[Settings]\nMidiLoop=0\n", &store).MidiLoop.Value);
    Options looping;
    looping.MidiLoop.Value = true;
    const Options o = Load("[Settings]\nMidiLoop=2\n", &store, looping);
    EXPECT_TRUE(o.MidiLoop.Value);
    EXPECT_TRUE(o.MidiLoop.UserChoosable);
    EXPECT_FALSE(Load("[Settings]\n", &store).MidiLoop.UserChoosable);
}

TEST(SettingsLoader, RightMenuDeleteItemsStoresAtMostFiftyEntries) {
    std::string ini = "[RightMenuDeleteItems]\nCount=60\n";
    for (int i = 0; i < 60; ++i) ini += std::to_string(i) + "=" + std::to_string(100 + i) + "\n";
    Options o = Load(ini);
    for (int i = 0; i < kRightMenuDeleteItemCount; ++i) EXPECT_EQ(o.RightMenuDeleteItems[i], 100 + i);

    // A second load clears entries left from the first; missing or unreadable keys read as 0;
    // keys at or past Count are not read.
    o = Load("[RightMenuDeleteItems]\ncount=3\n0=7\n1=x\n3=9\n", nullptr, o);
    EXPECT_EQ(o.RightMenuDeleteItems[0], 7);
    EXPECT_EQ(o.RightMenuDeleteItems[1], 0);
    EXPECT_EQ(o.RightMenuDeleteItems[2], 0);
    EXPECT_EQ(o.RightMenuDeleteItems[3], 0);
    for (int i = 4; i < kRightMenuDeleteItemCount; ++i) EXPECT_EQ(o.RightMenuDeleteItems[i], 0);

    o = Load("[RightMenuDeleteItems]\nCount=-5\n0=7\n");
    EXPECT_EQ(o.RightMenuDeleteItems[0], 0);
    o = Load("[RightMenuDeleteItems]\nCount=2147483647\n0=7\n");  // returns promptly
    EXPECT_EQ(o.RightMenuDeleteItems[0], 7);
}

TEST(SettingsLoader, AuthorFixesEveryUserChoice) {
    const Options o = Load(
        "[Settings]\nSound=1\nMidi=0\nInteraction=1\nKeyInteraction=1\nRightClickMenu=0\n"
        "FullScreen=1\nCustomSize=0\nPassword=0\n");
    EXPECT_TRUE(o.Sound.Value);
    EXPECT_FALSE(o.Midi.Value);
    EXPECT_TRUE(o.Interaction.Value);
    EXPECT_TRUE(o.KeyInteraction.Value);
    EXPECT_FALSE(o.RightClickMenu.Value);
    for (const OptionSwitch* s : {&o.Sound, &o.Midi, &o.Interaction, &o.RightClickMenu, &o.KeyInteraction})
        EXPECT_FALSE(s->UserChoosable);
    EXPECT_TRUE(o.FullScreen.Value);
    EXPECT_FALSE(o.CustomSize.Value);
    EXPECT_EQ(o.Password, 0);
}

TEST(SettingsLoader, MidiLoopTimesZeroMeansWithoutLimit) {
    EXPECT_EQ(EffectiveMidiLoopTimes(0), 2147483647);
    EXPECT_EQ(EffectiveMidiLoopTimes(3), 3);
    EXPECT_EQ(EffectiveMidiLoopTimes(-1), -1);
}

TEST(UserSettingsValues, TemporaryBaseComesFromTheStoreOrTheSystem) {
    struct Case {
        const char* name;
        const char* value;  // nullptr: no per-user value
        const char* systemTempPath;
        const char* base;
    };
    const Case cases[] = {
        {"system path", nullptr, "C:\\Temp\\", "C:\\Temp\\"},
        {"system path without backslash", nullptr, "C:\\Temp", "C:\\Temp\\"},
        {"user value", "D:\\Mine", "C:\\Temp\\", "D:\\Mine\\"},
        {"user value with backslash", "D:\\Mine\\", "C:\\Temp\\", "D:\\Mine\\"},
        {"empty user value", "", "C:\\Temp\\", "C:\\Temp\\"},
        {"relative user value", "Temp", "C:\\Temp\\", "Temp\\"},
        // GetTempPathA failed or gave a path too long for its buffer: nothing, not the drive root.
        {"no system path", nullptr, "", ""},
        {"no system path, empty user value", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeUserSettingsStore store;
        if (c.value) store.Values["Quenby Temp Directory"] = c.value;
        EXPECT_EQ(TemporaryBase(&store, c.systemTempPath), c.base);
    }
    EXPECT_EQ(TemporaryBase(nullptr, "C:\\Temp\\"), "C:\\Temp\\");
    EXPECT_EQ(TemporaryBase(nullptr, ""), "");
}

TEST(UserSettingsValues, BooleansAreWrittenAsZeroOrOne) {
    FakeUserSettingsStore store;
    WriteUserBoolean(&store, "MouseExit", false);
    WriteUserBoolean(&store, "Mute", true);
    EXPECT_EQ(store.Values["MouseExit"], "0");
    EXPECT_EQ(store.Values["Mute"], "1");
    EXPECT_FALSE(ReadUserBoolean(&store, "MouseExit", true));
    EXPECT_TRUE(ReadUserBoolean(&store, "Mute", false));
    EXPECT_TRUE(ReadUserBoolean(&store, "Missing", true));
    WriteUserBoolean(nullptr, "Mute", true);  // no store: nothing happens
}

// --- The whole loader over a simulated settings pass.

struct Record {
    std::string Name;
    std::string Placement;
    std::string Content;
};

class LoaderRun : public ::testing::Test {
protected:
    FakePlacementFileSystem fs;
    FakeUserSettingsStore store;
    FilePlacement placement;
    std::vector<Record> session;
    int failAfterRecord = -1;  // throw after writing this many records
    bool settingsPassSeen = false;
    std::vector<std::string> writtenDuringPass;

    SettingsExtraction Extraction() {
        return [this](const std::string& targetDir) {
            int handled = 0;
            for (Record record : session) {
                if (handled++ == failAfterRecord) throw EngineError("Extract error on " + targetDir + record.Name);
                settingsPassSeen = settingsPassSeen || placement.SettingsPass;
                std::string directory = targetDir;
                bool skip = false;
                placement.HandleExtractedFile(fs, record.Name, directory, skip, record.Placement, targetDir, 0, false);
                if (skip) continue;
                fs.Files[JoinPath(directory, record.Name)] = record.Content;
                writtenDuringPass.push_back(JoinPath(directory, record.Name));
            }
        };
    }
};

TEST_F(LoaderRun, ExtractsReadsAndDeletesTheSettingsFile) {
    session = {{"Player.exe", "", "MZ"},
               {"Show.INI", "", "[Settings]\nWidth=0x280\nSound=2\n"},
               {"quenbyrun.dll", "", "MZ"},
               {"movie.swf", "", "FWS"}};
    store.Values["Mute"] = "1";
    Options o;
    LoadSettingsWith(Extraction(), placement, fs, "C:\\Temp", "Demo", &store, o);
    EXPECT_TRUE(settingsPassSeen);
    EXPECT_FALSE(placement.SettingsPass);
    EXPECT_EQ(writtenDuringPass, std::vector<std::string>{"C:\\Temp\\show.ini"});
    EXPECT_EQ(placement.SettingsFileName, "show.ini");
    EXPECT_TRUE(fs.Files.empty());  // deleted after reading
    EXPECT_EQ(o.Width, 640);
    EXPECT_FALSE(o.Sound.Value);  // muted by the per-user value
    EXPECT_TRUE(o.Sound.UserChoosable);
    EXPECT_TRUE(placement.ExtractedFiles.empty());
    EXPECT_TRUE(placement.ProjectorFile.empty());
}

TEST_F(LoaderRun, WithoutSettingsFileOnlyAlreadyMarkedOptionsReadTheRegistry) {
    session = {{"movie.swf", "", "FWS"}};
    store.Values["Mute"] = "1";
    store.Values["MouseExit"] = "0";
    Options o;
    o.Width = 1024;  // the screen size, set before loading
    o.Midi.UserChoosable = true;
    LoadSettingsWith(Extraction(), placement, fs, "C:\\Temp\\", "Demo", &store, o);
    EXPECT_EQ(o.Width, 1024);
    EXPECT_EQ(o.Password, 0);
    EXPECT_EQ(o.ScreenName, "");
    EXPECT_TRUE(o.Sound.Value == false && o.Sound.UserChoosable == false);  // not marked: untouched
    EXPECT_FALSE(o.Interaction.Value);
    EXPECT_FALSE(o.Midi.Value);
    EXPECT_FALSE(o.RightClickMenu.Enabled);
    EXPECT_TRUE(fs.Removed.empty());
}

TEST_F(LoaderRun, AFailedExtractionStillDeletesTheFileRunsTheRegistryStepAndRethrows) {
    session = {{"settings.ini", "", "[Settings]\nWidth=800\n"}, {"movie.swf", "", "FWS"}};
    failAfterRecord = 1;
    store.Values["MouseExit"] = "0";
    Options o;
    o.Interaction.UserChoosable = true;
    EXPECT_THROW(
        {
            try {
                LoadSettingsWith(Extraction(), placement, fs, "C:\\Temp\\", "Demo", &store, o);
            } catch (const EngineError& e) {
                EXPECT_STREQ(e.what(), "Extract error on C:\\Temp\\movie.swf");
                throw;
            }
        },
        EngineError);
    EXPECT_FALSE(placement.SettingsPass);
    EXPECT_TRUE(fs.Files.empty());
    EXPECT_EQ(o.Width, 0);  // the file was not read
    EXPECT_TRUE(o.Interaction.Value);
    EXPECT_TRUE(o.RightClickMenu.Enabled);
}

TEST_F(LoaderRun, AnUnreadableSettingsFileIsDeletedAndReported) {
    session = {{"settings.ini", "", "[Settings]\n"}};
    fs.FailReads = true;
    Options o;
    EXPECT_THROW(LoadSettingsWith(Extraction(), placement, fs, "C:\\Temp\\", "Demo", nullptr, o), EngineError);
    EXPECT_EQ(fs.Removed, std::vector<std::string>{"C:\\Temp\\settings.ini"});
    EXPECT_FALSE(placement.SettingsPass);
    // Marked before reading, then filled from the defaults of the registry step.
    EXPECT_TRUE(o.KeyInteraction.Value);
}

TEST_F(LoaderRun, TheLastIniFileOfTheSessionIsTheSettingsFile) {
    session = {{"first.ini", "sub", "[Settings]\nWidth=1\n"},
               {"tool.vtools.ini", "", "[x]"},
               {"Second.ini", "", "[Settings]\nWidth=2\n"}};
    Options o;
    LoadSettingsWith(Extraction(), placement, fs, "C:\\Temp\\", "Demo", nullptr, o);
    EXPECT_EQ(o.Width, 2);
    EXPECT_EQ(placement.SettingsFileName, "second.ini");
    EXPECT_EQ(writtenDuringPass, (std::vector<std::string>{"C:\\Temp\\first.ini", "C:\\Temp\\second.ini"}));
}

}  // namespace
