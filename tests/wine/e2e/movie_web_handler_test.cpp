// The web-page handler in the shared block of a real run, from registry fixtures of the test's own
// classes: ".html" wins over ".htm", a handler without "ddeexec" leaves the DDE names empty, a
// value over 255 characters is cut.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>

#include "support/standin_report.h"

using namespace testsupport;

namespace {

constexpr uint32_t kOpenCommandOffset = 0x174;
constexpr uint32_t kDdeApplicationOffset = 0x274;
constexpr uint32_t kDdeTopicOffset = 0x374;

std::optional<std::string> DefaultValue(const std::string& keyName) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, keyName.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
    char buffer[1024] = {};
    DWORD size = sizeof buffer - 1, type = 0;
    const bool found = RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) ==
                       ERROR_SUCCESS;
    RegCloseKey(key);
    return found ? std::optional<std::string>(buffer) : std::nullopt;
}

void SetDefaultValue(const std::string& keyName, const std::string& value) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, keyName.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

// Points ".htm" and ".html" at classes of this test and puts the system's associations back
// afterwards.
class WebPageAssociations {
public:
    WebPageAssociations() : htm_(DefaultValue(".htm")), html_(DefaultValue(".html")) {}
    ~WebPageAssociations() {
        Restore(".htm", htm_);
        Restore(".html", html_);
        for (const std::string& name : classes_) RegDeleteTreeA(HKEY_CLASSES_ROOT, name.c_str());
    }
    std::string Class(const std::string& tag) {
        classes_.push_back("stagehost.web." + tag + "." + std::to_string(GetCurrentProcessId()));
        return classes_.back();
    }

private:
    static void Restore(const std::string& extension, const std::optional<std::string>& value) {
        if (value) {
            SetDefaultValue(extension, *value);
        } else {
            HKEY key = nullptr;
            if (RegOpenKeyExA(HKEY_CLASSES_ROOT, extension.c_str(), 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
                RegDeleteValueA(key, nullptr);
                RegCloseKey(key);
            }
        }
    }
    std::optional<std::string> htm_, html_;
    std::vector<std::string> classes_;
};

}  // namespace

struct HandlerCase {
    const char* Name;
    bool HtmlHasDdeExec;
};

void PrintTo(const HandlerCase& c, std::ostream* out) { *out << c.Name; }

class MovieWebHandler : public ::testing::TestWithParam<HandlerCase> {};

TEST_P(MovieWebHandler, BlockCarriesTheHtmlHandler) {
    // First: the distributable holds the one-engine lock, so no other test's fixtures interleave
    // with these, which are put back before the lock is released.
    Distributable app("webhandler", MovieFiles(""));
    WebPageAssociations associations;
    const std::string htmClass = associations.Class("htm");
    const std::string htmlClass = associations.Class("html");
    SetDefaultValue(htmClass + "\\shell\\open\\command", "htm.exe \"%1\"");
    SetDefaultValue(htmClass + "\\shell\\open\\ddeexec\\Application", "HTMAPP");
    SetDefaultValue(htmClass + "\\shell\\open\\ddeexec\\Topic", "HTMTOPIC");
    const std::string longCommand = "C:\\Browsers\\" + std::string(280, 'b') + ".exe \"%1\"";
    SetDefaultValue(htmlClass + "\\shell\\open\\command", longCommand);
    if (GetParam().HtmlHasDdeExec) {
        SetDefaultValue(htmlClass + "\\shell\\open\\ddeexec\\Application", "BROWSER");
        SetDefaultValue(htmlClass + "\\shell\\open\\ddeexec\\Topic", "WWW_OpenURL");
    }
    SetDefaultValue(".htm", htmClass);
    SetDefaultValue(".html", htmlClass);

    TempDir work("report");
    MovieRun run = StartMovie(app, work.File("report.txt"));
    ASSERT_TRUE(run.Report.HasBlock());
    EXPECT_EQ(run.Report.BlockShortString(kOpenCommandOffset), longCommand.substr(0, 255));
    EXPECT_EQ(run.Report.BlockShortString(kDdeApplicationOffset), GetParam().HtmlHasDdeExec ? "BROWSER" : "");
    EXPECT_EQ(run.Report.BlockShortString(kDdeTopicOffset), GetParam().HtmlHasDdeExec ? "WWW_OpenURL" : "");

    PostMessageA(run.Report.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(run.Engine->WaitForExit(30000), 0);
}

INSTANTIATE_TEST_SUITE_P(Associations, MovieWebHandler,
                         ::testing::Values(HandlerCase{"WithoutDdeExec", false}, HandlerCase{"WithDdeExec", true}),
                         [](const auto& info) { return std::string(info.param.Name); });
