#include <gtest/gtest.h>

#include "commands/registry_argument.h"

namespace {

using T = RegistryValueType;
using R = RegistryRoot;

struct ArgumentCase {
    const char* Argument;
    T Type;
    R Root;
    const char* KeyPath;
    const char* ValueName;
    const char* ValueText;
};

TEST(RegistryArgument, ParsesEveryPartOfTheGrammar) {
    const ArgumentCase cases[] = {
        {"Software\\Demo\\Name=Value", T::String, R::CurrentUser, "Software\\Demo", "Name", "Value"},
        {"INT:HKEY_LOCAL_MACHINE\\Software\\Demo\\Count=42", T::Integer, R::LocalMachine, "Software\\Demo", "Count", "42"},
        {"integer:Software\\Demo\\Count", T::Integer, R::CurrentUser, "Software\\Demo", "Count", ""},
        {"String:Software\\Demo\\Name=x", T::String, R::CurrentUser, "Software\\Demo", "Name", "x"},
        {"hkey_classes_root\\Demo\\=text", T::String, R::ClassesRoot, "Demo", "", "text"},
        // The last "\" splits the name: a value text cannot hold one.
        {"Software\\Demo\\Path=C:\\Temp", T::String, R::CurrentUser, "Software\\Demo\\Path=C:", "Temp", ""},
        // Only the first "=" of the name splits; ":" is kept in the text.
        {"Software\\Demo\\Name=a=b:c&d", T::String, R::CurrentUser, "Software\\Demo", "Name", "a=b:c&d"},
        // Not a type name before the first ":": left in place.
        {"Software:X\\Name=v", T::String, R::CurrentUser, "Software:X", "Name", "v"},
        {":Software\\Name", T::String, R::CurrentUser, ":Software", "Name", ""},
        {"INTS:Software\\Name", T::String, R::CurrentUser, "INTS:Software", "Name", ""},
        // Not a root name before the first "\": the current user's key path.
        {"HKEY_USERS\\x\\Name", T::String, R::CurrentUser, "HKEY_USERS\\x", "Name", ""},
        // Nothing after the root but a name: without a "\" left, it is all key path.
        {"HKEY_CURRENT_USER\\Name=v", T::String, R::CurrentUser, "Name=v", "", ""},
        {"HKEY_CURRENT_USER\\\\Name=v", T::String, R::CurrentUser, "", "Name", "v"},
        // Without any "\" the whole text is the key path.
        {"Software", T::String, R::CurrentUser, "Software", "", ""},
        {"Software=x", T::String, R::CurrentUser, "Software=x", "", ""},
        {"", T::String, R::CurrentUser, "", "", ""},
        // A key path written from the root.
        {"\\Software\\Demo\\Name", T::String, R::CurrentUser, "Software\\Demo", "Name", ""},
        {"INT:HKEY_CURRENT_USER\\\\Software\\Name", T::Integer, R::CurrentUser, "Software", "Name", ""},
        // The type prefix is taken before the root, never after it.
        {"HKEY_LOCAL_MACHINE\\INT:x\\Name", T::String, R::LocalMachine, "INT:x", "Name", ""},
    };
    for (const ArgumentCase& c : cases) {
        const RegistryArgument parsed = ParseRegistryArgument(c.Argument);
        EXPECT_EQ(parsed.Type, c.Type) << c.Argument;
        EXPECT_EQ(parsed.Root, c.Root) << c.Argument;
        EXPECT_EQ(parsed.KeyPath, c.KeyPath) << c.Argument;
        EXPECT_EQ(parsed.ValueName, c.ValueName) << c.Argument;
        EXPECT_EQ(parsed.ValueText, c.ValueText) << c.Argument;
    }
}

struct IntegerCase {
    const char* Text;
    bool IsNumber;
    int32_t Value;
};

TEST(RegistryArgument, IntegerFormTakesDecimalOrDollarHex) {
    const IntegerCase cases[] = {
        {"42", true, 42},     {"$2A", true, 42},         {"$2a", true, 42},          {"  -7", true, -7},
        {"+7", true, 7},      {"$FFFFFFFF", true, -1},   {"2147483647", true, INT32_MAX},
        {"-2147483648", true, INT32_MIN},
        {"", false, 0},       {"abc", false, 0},         {"2147483648", false, 0},   {"$", false, 0},
        {"$100000000", false, 0}, {"0x2A", false, 0},    {"4 ", false, 0},           {"-", false, 0},
        {"- 4", false, 0},    {"   ", false, 0},         {"-$2A", false, 0},         {"$2G", false, 0},
    };
    for (const IntegerCase& c : cases) {
        int32_t value = 12345;
        EXPECT_EQ(ParseRegistryInteger(c.Text, value), c.IsNumber) << '"' << c.Text << '"';
        if (c.IsNumber) {
            EXPECT_EQ(value, c.Value) << '"' << c.Text << '"';
        }
    }
}

TEST(RegistryArgument, AnswerLineIsUnescaped) {
    EXPECT_EQ(RegistryAnswerLine(RegistryReadStatus::Nothing, "none"), "RegFound=nothing&RegValue=none");
    EXPECT_EQ(RegistryAnswerLine(RegistryReadStatus::Key, ""), "RegFound=key&RegValue=");
    EXPECT_EQ(RegistryAnswerLine(RegistryReadStatus::Value, "a&b=c"), "RegFound=value&RegValue=a&b=c");
}

}  // namespace
