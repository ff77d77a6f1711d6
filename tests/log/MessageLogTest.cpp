#include "log/MessageLog.h"

#include "support/FakeClock.h"

#include <gtest/gtest.h>
#include <thread>

namespace nimbrel {
namespace {

struct LineCase {
    friend void PrintTo(const LineCase& c, std::ostream* out) { *out << c.Name; }
    const char* Name;
    int Kind;
    std::string Message;
    std::string StoredLine;
};

class LogLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(LogLine, IsStoredQuotedAndComesBackWhole) {
    const LineCase& c = GetParam();
    const std::string line = FormatLogLine(c.Kind, c.Message, "14:05:09");
    EXPECT_EQ(line, c.StoredLine);
    EXPECT_EQ(SplitLogLine(line),
              (std::vector<std::string>{std::to_string(c.Kind), c.Message, "14:05:09"}));
    EXPECT_EQ(ParseLogLine(line), (TLogEntry{c.Kind, c.Message, "14:05:09"}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LogLine,
    ::testing::Values(
        LineCase{"Plain", 0, "Starting Nimbrel.", "\"0\"^\"Starting Nimbrel.\"^\"14:05:09\""},
        LineCase{"Error", 2, "ERROR: timed out", "\"2\"^\"ERROR: timed out\"^\"14:05:09\""},
        LineCase{"Caret", 0, "a^b ^ c", "\"0\"^\"a^b ^ c\"^\"14:05:09\""},
        LineCase{"Spaces", 1, "  padded  ", "\"1\"^\"  padded  \"^\"14:05:09\""},
        LineCase{"Empty", 0, "", "\"0\"^\"\"^\"14:05:09\""},
        LineCase{"QuotesDoubled", 0, "say \"a^b\"", "\"0\"^\"say \"\"a^b\"\"\"^\"14:05:09\""},
        LineCase{"OnlyAQuote", 0, "\"", "\"0\"^\"\"\"\"^\"14:05:09\""},
        LineCase{"TrailingQuote", 0, "x\"", "\"0\"^\"x\"\"\"^\"14:05:09\""},
        LineCase{"NegativeKind", -1, "odd", "\"-1\"^\"odd\"^\"14:05:09\""}),
    [](const auto& info) { return std::string(info.param.Name); });

struct ParseCase {
    friend void PrintTo(const ParseCase& c, std::ostream* out) { *out << c.Name; }
    const char* Name;
    std::string Line;
    TLogEntry Expected;
};

class LogParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(LogParse, ToleratesLinesItDidNotWrite) {
    EXPECT_EQ(ParseLogLine(GetParam().Line), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LogParse,
    ::testing::Values(ParseCase{"KindNotANumber", "\"x\"^\"m\"^\"t\"", {0, "m", "t"}},
                      ParseCase{"KindWithText", "\"2a\"^\"m\"^\"t\"", {0, "m", "t"}},
                      ParseCase{"KindEmpty", "\"\"^\"m\"^\"t\"", {0, "m", "t"}},
                      ParseCase{"KindHuge", "\"99999999999\"^\"m\"^\"t\"", {0, "m", "t"}},
                      ParseCase{"Unquoted", "1^m^t", {1, "m", "t"}},
                      ParseCase{"TooFewFields", "\"1\"^\"m\"", {1, "m", ""}},
                      ParseCase{"EmptyLine", "", {0, "", ""}},
                      ParseCase{"UnbalancedQuote", "\"1\"^\"m^t", {1, "\"m^t", ""}}),
    [](const auto& info) { return std::string(info.param.Name); });

const std::vector<std::string> ThreeEntries{
    FormatLogLine(0, "A first", "10:00:00"),
    FormatLogLine(2, "B ^ second", "10:00:01"),
    FormatLogLine(1, "C \"third\"", "10:00:02"),
};

TEST(LogWindow, ListsNewestFirstWithTheKindAsImage) {
    const std::vector<TLogRow> expected{
        {"C \"third\"", "10:00:02", 1}, {"B ^ second", "10:00:01", 2}, {"A first", "10:00:00", 0}};
    EXPECT_EQ(LogWindowRows(ThreeEntries), expected);
    EXPECT_TRUE(LogWindowRows({}).empty());
}

TEST(LogClipboard, OldestFirstAsTimeThreeSpacesMessage) {
    EXPECT_EQ(LogClipboardText(ThreeEntries), "10:00:00   A first\r\n"
                                              "10:00:01   B ^ second\r\n"
                                              "10:00:02   C \"third\"\r\n");
    EXPECT_EQ(LogClipboardText({}), "");
}

class LogListTest : public ::testing::Test {
protected:
    testing::FakeClock clock_;
    TLogList log_{clock_};
};

TEST_F(LogListTest, StampsEachEntryWithTheLocalLongTime) {
    clock_.utc = {2026, 12, 8, 13, 5, 9, 0};
    clock_.localOffsetHours = 1;
    log_.AddLogMessage(LogInformation, "Starting Nimbrel.");
    EXPECT_EQ(log_.Lines(), (std::vector<std::string>{FormatLogLine(
                                0, "Starting Nimbrel.", clock_.LongTimeText(clock_.LocalNow()))}));
    EXPECT_EQ(ParseLogLine(log_.Lines().front()).Time, clock_.LongTimeText(clock_.LocalNow()));
}

TEST_F(LogListTest, ClearThenClipboardGivesEmptyText) {
    log_.AddLogMessage(LogWarning, "w");
    log_.Clear();
    EXPECT_EQ(log_.Count(), 0u);
    EXPECT_EQ(LogClipboardText(log_.Lines()), "");
}

// A server's reply reaches the log; however much it sends, the log stays bounded.
TEST_F(LogListTest, KeepsTheNewestEntriesAndCutsLongMessagesAtACharacter) {
    for (std::size_t i = 0; i < MaxLogEntries; ++i) {
        log_.AddLogMessage(LogInformation, std::to_string(i));
    }
    log_.AddLogMessage(LogError, std::string(5000, 'x'));
    log_.AddLogMessage(LogError, std::string(4092, 'a') + "\u00e9\u00e9\u00e9");
    const std::vector<std::string> lines = log_.Lines();
    ASSERT_EQ(lines.size(), MaxLogEntries);
    EXPECT_EQ(ParseLogLine(lines.front()).Message, "2");
    EXPECT_EQ(ParseLogLine(lines[lines.size() - 2]).Message, std::string(4093, 'x') + "...");
    EXPECT_EQ(ParseLogLine(lines.back()).Message, std::string(4092, 'a') + "...");
}

// The fetch worker adds while the main thread reads: nothing may be lost or torn.
TEST_F(LogListTest, AddsFromAnotherThreadLoseNothing) {
    constexpr int PerThread = 500;
    std::thread worker([this] {
        for (int i = 0; i < PerThread; ++i) {
            log_.AddLogMessage(LogError, "ERROR: worker " + std::to_string(i));
        }
    });
    for (int i = 0; i < PerThread; ++i) {
        log_.AddLogMessage(LogInformation, "main " + std::to_string(i));
        for (const TLogRow& row : LogWindowRows(log_.Lines())) {
            ASSERT_FALSE(row.Message.empty());
        }
    }
    worker.join();
    EXPECT_EQ(log_.Count(), 2u * PerThread);
}

} // namespace
} // namespace nimbrel
