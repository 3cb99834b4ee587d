// The web-page handler lookup against a fake classes root.
#include <gtest/gtest.h>

#include <map>

#include "commands/web_page_handler.h"

namespace {

class FakeClassesRoot : public ClassesRootReader {
public:
    std::map<std::string, std::string> Defaults;  // key -> default value (text)
    bool ReadDefaultText(const std::string& subKey, std::string& value) override {
        auto found = Defaults.find(subKey);
        if (found == Defaults.end()) return false;
        value = found->second;
        return true;
    }
};

}  // namespace

struct LookupCase {
    const char* Name;
    std::map<std::string, std::string> Registry;
    std::optional<std::string> OpenCommand, DdeApplication, DdeTopic;
};

void PrintTo(const LookupCase& c, std::ostream* out) { *out << c.Name; }

const std::map<std::string, std::string> kBrowsers = {
    {"htmfile\\shell\\open\\command", "htm.exe %1"},
    {"htmfile\\shell\\open\\ddeexec\\Application", "HTMAPP"},
    {"htmfile\\shell\\open\\ddeexec\\Topic", "HTMTOPIC"},
    {"htmlfile\\shell\\open\\command", "html.exe %1"},
    {"htmlfile\\shell\\open\\ddeexec\\Application", "HTMLAPP"},
    {"htmlfile\\shell\\open\\ddeexec\\Topic", "WWW_OpenURL"},
    {"plainfile\\shell\\open\\command", "plain.exe"},
};

std::map<std::string, std::string> With(std::map<std::string, std::string> values) {
    values.insert(kBrowsers.begin(), kBrowsers.end());
    return values;
}

class WebPageLookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(WebPageLookup, FindsTheHandlerOfTheRightClass) {
    const LookupCase& c = GetParam();
    FakeClassesRoot registry;
    registry.Defaults = c.Registry;
    const WebPageHandler handler = FindWebPageHandler(registry);
    EXPECT_EQ(handler.OpenCommand, c.OpenCommand);
    EXPECT_EQ(handler.DdeApplication, c.DdeApplication);
    EXPECT_EQ(handler.DdeTopic, c.DdeTopic);
}

INSTANTIATE_TEST_SUITE_P(
    Registries, WebPageLookup,
    ::testing::Values(
        LookupCase{"NoAssociation", kBrowsers, std::nullopt, std::nullopt, std::nullopt},
        LookupCase{"HtmlWins", With({{".htm", "htmfile"}, {".html", "htmlfile"}}), "html.exe %1", "HTMLAPP",
                   "WWW_OpenURL"},
        LookupCase{"OnlyHtm", With({{".htm", "htmfile"}}), "htm.exe %1", "HTMAPP", "HTMTOPIC"},
        LookupCase{"NoDdeExec", With({{".html", "plainfile"}}), "plain.exe", std::nullopt, std::nullopt},
        LookupCase{"EmptyHtmlClass", With({{".htm", "htmfile"}, {".html", ""}}), std::nullopt, std::nullopt,
                   std::nullopt},
        LookupCase{"UnknownClass", With({{".html", "nosuchfile"}}), std::nullopt, std::nullopt, std::nullopt}),
    [](const auto& info) { return std::string(info.param.Name); });
