#include "commands/dde_request.h"

#include <gtest/gtest.h>

namespace {

struct DdeCase {
    const char* Name;
    const char* Text;
    const char* Application;
    const char* Topic;
    bool Accepted;
};

void PrintTo(const DdeCase& c, std::ostream* out) { *out << c.Name; }

class DdeRequestTable : public ::testing::TestWithParam<DdeCase> {};

TEST_P(DdeRequestTable, Accepted) {
    const DdeCase& c = GetParam();
    EXPECT_EQ(IsAcceptedDdeRequest(c.Text, c.Application, c.Topic), c.Accepted) << c.Text;
}

INSTANTIATE_TEST_SUITE_P(
    Requests, DdeRequestTable,
    ::testing::Values(
        DdeCase{"QuotedWithTail", "dde:APP:TOPIC:\"http://example.test/page.htm\",,-1", "APP", "TOPIC", true},
        DdeCase{"QuotedWithoutTail", "dde:APP:TOPIC:\"http://example.test/page.htm\"", "APP", "TOPIC", false},
        DdeCase{"QuotedTailOnlyBlanks", "dde:APP:TOPIC:\"page.htm\"   ", "APP", "TOPIC", false},
        DdeCase{"QuoteNeverClosed", "dde:APP:TOPIC:\"page.htm", "APP", "TOPIC", false},
        DdeCase{"BlanksBeforeQuote", "dde:APP:TOPIC:  \t\"page.htm\",,-1", "APP", "TOPIC", true},
        DdeCase{"Unquoted", "dde:APP:TOPIC:page.htm", "APP", "TOPIC", true},
        DdeCase{"EmptyData", "dde:APP:TOPIC:", "APP", "TOPIC", true},
        DdeCase{"PrefixInCapitals", "DDE:APP:TOPIC:page.htm", "APP", "TOPIC", true},
        DdeCase{"ApplicationInOtherCase", "dde:app:TOPIC:page.htm", "APP", "TOPIC", false},
        DdeCase{"TopicInOtherCase", "dde:APP:topic:page.htm", "APP", "TOPIC", false},
        DdeCase{"TopicMissing", "dde:APP:page.htm", "APP", "TOPIC", false},
        DdeCase{"NoColonAfterTopic", "dde:APP:TOPIC", "APP", "TOPIC", false},
        DdeCase{"NotDde", "ddx:APP:TOPIC:page.htm", "APP", "TOPIC", false},
        DdeCase{"ShorterThanPrefix", "dde", "APP", "TOPIC", false},
        DdeCase{"EmptyNamesTripleColon", "dde:::", "", "", true},
        DdeCase{"EmptyNamesWithData", "dde:::\"page.htm\",1", "", "", true},
        DdeCase{"EmptyNamesOtherText", "dde:APP:TOPIC:page.htm", "", "", false}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
