#include <gtest/gtest.h>

#include "payload/settings_file.h"

namespace {

TEST(SettingsFile, KeysAreMatchedWithoutRegardToCaseAndNothingIsTrimmed) {
    const SettingsFile file(
        "[settings]\r\n"
        "WIDTH=800\r\n"
        " Height=600\r\n"
        "Left =10\r\n"
        "Top= 20\r\n"
        "Quenby Screen Name= My Show \r\n"
        "Empty=\r\n"
        "Eq=a=b\r\n");
    EXPECT_EQ(file.ReadInteger("Settings", "Width", 0), 800);
    EXPECT_EQ(file.ReadInteger("Settings", "Height", 480), 480);  // blank before the key
    EXPECT_EQ(file.ReadInteger("Settings", "Left", -1), -1);      // blank before "="
    EXPECT_EQ(file.ReadInteger("Settings", "Top", -1), -1);       // " 20" is not a number
    EXPECT_EQ(file.ReadString("Settings", "Quenby Screen Name", "x"), " My Show ");
    EXPECT_EQ(file.ReadString("Settings", "Empty", "x"), "");
    EXPECT_EQ(file.ReadString("Settings", "Eq", "x"), "a=b");
    EXPECT_EQ(file.ReadString("Settings", "Missing", "x"), "x");
    EXPECT_EQ(file.ReadString("Other", "Width", "x"), "x");
}

TEST(SettingsFile, FirstSectionOfANameAndFirstKeyOfASectionWin) {
    const SettingsFile file(
        "Width=1\n"
        "[Settings]\n"
        "Width=100\n"
        "width=200\n"
        "[Other]\n"
        "Height=5\n"
        "[SETTINGS]\n"
        "Width=300\n"
        "Height=400\n");
    EXPECT_EQ(file.ReadInteger("Settings", "Width", 0), 100);
    EXPECT_EQ(file.ReadInteger("Settings", "Height", 0), 0);  // only in the second [Settings]
    EXPECT_EQ(file.ReadInteger("other", "height", 0), 5);
}

TEST(SettingsFile, LineBreaksCommentsAndHeaders) {
    const SettingsFile file(
        "[A]\rOne=1\r;Two=2\r\r[B] \rThree=3\n[C]\nFour=4");
    EXPECT_EQ(file.ReadInteger("A", "One", 0), 1);
    EXPECT_EQ(file.ReadInteger("A", ";Two", 0), 0);
    // "[B] " is not a header: its line and the next belong to [A].
    EXPECT_EQ(file.ReadInteger("B", "Three", 0), 0);
    EXPECT_EQ(file.ReadInteger("A", "Three", 0), 3);
    EXPECT_EQ(file.ReadInteger("C", "Four", 0), 4);  // last line without a break
}

TEST(SettingsFile, SectionListKeepsDuplicatesAndLineNumbers) {
    const auto sections = ParseSettingsSections("; c\n[S]\nno equals\nk=v\n[S]\n");
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(sections[0].LineNumber, 2);
    ASSERT_EQ(sections[0].Lines.size(), 2u);
    EXPECT_FALSE(sections[0].Lines[0].HasEquals);
    EXPECT_EQ(sections[0].Lines[1].LineNumber, 4);
    EXPECT_EQ(sections[0].Lines[1].Key, "k");
    EXPECT_EQ(sections[1].LineNumber, 5);
}

}  // namespace
