#include "window/server_query.h"

#include <gtest/gtest.h>

namespace {

struct QueryCase {
    uint64_t WParam;
    int64_t LParam;
    int32_t Expected;
};

void PrintTo(const QueryCase& c, std::ostream* out) { *out << c.WParam << "/" << c.LParam; }

class ServerQueryTable : public ::testing::TestWithParam<QueryCase> {};

// A client area of 640 x 480 whose origin is at screen (100, 50).
TEST_P(ServerQueryTable, Answer) {
    const QueryCase& c = GetParam();
    const auto toScreen = [](ClientPoint p) { return ClientPoint{p.X + 100, p.Y + 50}; };
    EXPECT_EQ(AnswerServerQuery(c.WParam, c.LParam, 640, 480, toScreen), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(Queries, ServerQueryTable,
                         ::testing::Values(QueryCase{0, 0, 0x454C424F}, QueryCase{0, 77, 0x454C424F},
                                           QueryCase{1, 0, 100}, QueryCase{1, 1, 740}, QueryCase{1, 2, 50},
                                           QueryCase{1, 3, 530}, QueryCase{1, 4, -1}, QueryCase{1, 5, -1},
                                           QueryCase{1, -1, -1}, QueryCase{1, -2, -1}, QueryCase{2, 0, -1},
                                           QueryCase{0xFFFFFFFFu, 1, -1}));

TEST(ServerQuery, IdentificationSpellsTheFourCharacters) {
    const int32_t id = kServerIdentification;
    const char text[4] = {static_cast<char>(id & 0xFF), static_cast<char>((id >> 8) & 0xFF),
                          static_cast<char>((id >> 16) & 0xFF), static_cast<char>((id >> 24) & 0xFF)};
    EXPECT_EQ(std::string(text, 4), "OBLE");
}

}  // namespace
