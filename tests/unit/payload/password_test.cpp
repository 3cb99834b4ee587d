#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "payload/password_gate.h"
#include "payload/password_hash.h"
#include "payload/settings_check.h"
#include "payload/settings_file.h"
#include "payload/settings_password.h"

namespace {

struct HashCase {
    std::string Text;
    int32_t Hash;  // computed by a separate implementation of the same generator
};

TEST(PasswordHash, MatchesIndependentlyComputedValues) {
    const HashCase cases[] = {
        {"", 423545962},
        {std::string("   \t\r\n"), 423545962},  // blanks only: the empty text
        {"secret", 345795872},
        {"  secret\t", 345795872},
        {"Secret", 197375395},
        {std::string("\x01" "CanCel" "\x0E"), 57829415},
        {"  CanCel ", 57829415},
        {std::string("a\0b", 3), 284299074},  // a zero byte inside counts
        {"\xFF\x80\xE9", 12439965},            // bytes above 127 as unsigned
        {"open sesame", 276737813},
        {std::string(300, 'x'), 340931322},
    };
    for (const HashCase& c : cases) EXPECT_EQ(PasswordHash(c.Text), c.Hash) << '"' << c.Text << '"';
    EXPECT_EQ(PasswordHash(kPasswordCancelMarker), PasswordHash("CanCel"));
}

// Scripted prompts: each entry is what the user typed; the gate's answer and how many wrong-entry
// messages it showed.
struct GateCase {
    const char* Name;
    bool Required;
    int32_t Stored;
    std::vector<std::string> Entries;
    bool Accepted;
    int Prompts;
    int WrongMessages;
};

TEST(PasswordGate, PromptsAtMostThreeTimes) {
    const std::string cancel = kPasswordCancelMarker;
    const GateCase cases[] = {
        {"no password asked", false, 0, {}, true, 0, 0},
        {"right at once", true, 345795872, {" secret "}, true, 1, 0},
        {"right on the third try", true, 345795872, {"a", "b", "secret"}, true, 3, 2},
        {"three wrong", true, 345795872, {"a", "b", "c"}, false, 3, 3},
        {"cancel after a wrong one", true, 345795872, {"a", cancel}, false, 2, 1},
        {"cancel at once", true, 345795872, {cancel}, false, 1, 0},
        {"typed CanCel ends like Cancel", true, 345795872, {"CanCel"}, false, 1, 0},
        {"empty entry matches its stored hash", true, 423545962, {""}, true, 1, 0},
        {"stored hash out of range never matches", true, kPasswordHashLimit, {"", "x", "y"}, false, 3, 3},
        {"negative stored hash never matches", true, -1, {"", "x", "y"}, false, 3, 3},
    };
    for (const GateCase& c : cases) {
        int prompts = 0;
        int wrong = 0;
        const PasswordGateSteps steps{
            [&] { return c.Entries.at(static_cast<std::size_t>(prompts++)); },
            [&] { ++wrong; },
        };
        EXPECT_EQ(AskPasswordWith(c.Required, c.Stored, steps), c.Accepted) << c.Name;
        EXPECT_EQ(prompts, c.Prompts) << c.Name;
        EXPECT_EQ(wrong, c.WrongMessages) << c.Name;
    }
}

struct SettingsPasswordCase {
    const char* Name;
    std::string Before;
    std::string After;
};

TEST(SettingsPassword, SetsBothKeysInTheFirstSettingsSection) {
    const SettingsPasswordCase cases[] = {
        {"replaced where they stand", "[Settings]\r\nPassword=0\r\nWidth=5\r\nalignmentx=-3\r\n",
         "[Settings]\r\nPassword=1\r\nWidth=5\r\nAlignmentX=77\r\n"},
        {"added after the header", "; note\n[settings]\nWidth=5\n[Settings]\nPassword=0\n",
         "; note\n[settings]\nPassword=1\nAlignmentX=77\nWidth=5\n[Settings]\nPassword=0\n"},
        {"only the first of a key", "[Settings]\nPassword=2\nPassword=0\n",
         "[Settings]\nAlignmentX=77\nPassword=1\nPassword=0\n"},
        {"a key with blanks is another key", "[Settings]\n Password=0\n",
         "[Settings]\nPassword=1\nAlignmentX=77\n Password=0\n"},
        {"section added", "[ProjectorVersion]\r\nMajor=5", "[ProjectorVersion]\r\nMajor=5\r\n[Settings]\r\nPassword=1\r\nAlignmentX=77\r\n"},
        {"empty file", "", "[Settings]\nPassword=1\nAlignmentX=77\n"},
    };
    for (const SettingsPasswordCase& c : cases) {
        const std::string after = WithPasswordHash(c.Before, 77);
        EXPECT_EQ(after, c.After) << c.Name;
        const SettingsFile file(after);
        EXPECT_EQ(file.ReadInteger("Settings", "Password", 0), 1) << c.Name;
        EXPECT_EQ(file.ReadInteger("Settings", "AlignmentX", 0), 77) << c.Name;
    }
}

TEST(SettingsPassword, CheckWarnsWhenNoPasswordCanOpenTheFile) {
    struct CheckCase {
        const char* Text;
        const char* Warning;  // nullptr: no warning
    };
    const CheckCase cases[] = {
        {"[Settings]\nPassword=1\n", "line 2: Password=1 asks for a password, but AlignmentX"},
        {"[Settings]\nPassword=1\nAlignmentX=-1\n", "line 3: AlignmentX=-1 is no password's hash"},
        {"[Settings]\nAlignmentX=429496729\nPassword=0x1\n", "line 2: AlignmentX=429496729 is no password's hash"},
        {"[Settings]\nPassword=1\nAlignmentX=429496728\n", nullptr},
        {"[Settings]\nPassword=0\n", nullptr},
        {"[Settings]\nPassword=2\nAlignmentX=-5\n", nullptr},
    };
    for (const CheckCase& c : cases) {
        const std::vector<std::string> warnings = CheckAuthorSettings(c.Text);
        if (!c.Warning) {
            EXPECT_TRUE(warnings.empty()) << c.Text;
            continue;
        }
        ASSERT_EQ(warnings.size(), 1u) << c.Text;
        EXPECT_EQ(warnings[0].compare(0, std::string(c.Warning).size(), c.Warning), 0) << warnings[0];
    }
}

}  // namespace
