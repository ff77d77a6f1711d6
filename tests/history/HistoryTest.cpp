#include "history/History.h"

#include "support/FakeClock.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <sqlite3.h>
#include <stdexcept>

namespace nimbrel {
namespace {

using testing::TempFolder;

std::int64_t At(const char* text) {
    return ParseUtcMinute(text).value();
}

// Another program's connection to the same file, holding its write lock while it lives.
class OtherWriter {
public:
    explicit OtherWriter(const std::string& path) {
        sqlite3_open(path.c_str(), &db_);
        sqlite3_exec(db_, "BEGIN IMMEDIATE; DELETE FROM reports;", nullptr, nullptr, nullptr);
    }
    ~OtherWriter() {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(db_);
    }

private:
    sqlite3* db_ = nullptr;
};

class HistoryTest : public ::testing::Test {
protected:
    HistoryTest() { clock.utc = {2026, 12, 1, 6, 0, 0}; }
    void Store(const std::string& code, const std::string& file) {
        history.StoreRun({{code, file}});
    }
    std::vector<THistoryRecord> All(const std::string& code) { return history.Load(code, 0); }

    TempFolder folder;
    const std::string path = folder.File("nimbrel/history.sqlite3");
    testing::FakeClock clock;
    std::vector<std::string> warnings;
    THistory history{path, clock, [this](const std::string& text) { warnings.push_back(text); },
                     std::chrono::milliseconds(50)};
};

TEST_F(HistoryTest, StoresWhenObservedAndEachDecodedValueOrNull) {
    struct Row {
        const char* file;
        const char* observed;
        std::optional<double> temperature, dewPoint, pressure, windSpeed, visibility;
        std::optional<std::string> windDirection;
        std::optional<int> condition;
    };
    const Row rows[] = {
        {"2026/01/10 05:50\neham 100550Z 24010KT 9999 FEW020 12/08 Q1013\n", "2026-01-10T05:50", 12,
         8, 1013, 10 * 180.0 / 97, 9999, "W-SW", 2},
        // Observed on the 31st, in a file dated the 1st: the month before, across a year.
        {"2026/01/01 00:10\nEHAM 312350Z 00000KT 0800 FG M01/M01 Q1020\n", "2025-12-31T23:50", -1,
         -1, 1020, 0, 800, "Calm", 18},
        // No time group: the file's own time; every value not decoded is NULL.
        {"2026/01/05 18:00\nEHAM NIL\n", "2026-01-05T18:00", {}, {}, {}, {}, {}, {}, 0},
    };
    clock.utc = {2026, 1, 15, 12, 0, 0};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        Store("eham", row.file);
        const auto stored = history.Load("EHAM", At(row.observed));
        ASSERT_FALSE(stored.empty());
        const THistoryRecord& record = stored.front();
        EXPECT_EQ(FormatUtcMinute(record.ObservedUtc), std::string(row.observed) + "Z");
        EXPECT_EQ(record.Station, "EHAM");
        EXPECT_EQ(record.Temperature, row.temperature);
        EXPECT_EQ(record.DewPoint, row.dewPoint);
        EXPECT_EQ(record.Pressure, row.pressure);
        EXPECT_EQ(record.WindSpeed, row.windSpeed);
        EXPECT_EQ(record.Visibility, row.visibility);
        EXPECT_EQ(record.WindDirection, row.windDirection);
        EXPECT_EQ(record.Condition, row.condition);
    }
    EXPECT_TRUE(warnings.empty());
}

TEST_F(HistoryTest, TheSameReportTwiceIsKeptOnce) {
    const std::string file = "2026/12/01 05:50\nEHAM 010550Z 24010KT 9999 12/08 Q1013\n";
    Store("EHAM", file);
    Store("EHAM", file);
    EXPECT_EQ(All("EHAM").size(), 1u);
}

TEST_F(HistoryTest, RemovesWhatIsOlderThanThirtyDays) {
    Store("EHAM", "2026/11/01 05:59\nEHAM 010559Z 24010KT 12/08 Q1013\n");
    Store("EHAM", "2026/11/01 06:00\nEHAM 010600Z 24010KT 12/08 Q1013\n");
    clock.utc = {2026, 12, 1, 6, 0, 0}; // 30 days after the second report
    Store("EHAM", "2026/12/01 06:00\nEHAM 010600Z 24010KT 12/08 Q1013\n");
    std::vector<std::string> kept;
    for (const THistoryRecord& record : All("EHAM"))
        kept.push_back(FormatUtcMinute(record.ObservedUtc));
    EXPECT_EQ(kept, (std::vector<std::string>{"2026-11-01T06:00Z", "2026-12-01T06:00Z"}));
}

TEST_F(HistoryTest, ADamagedFileIsMovedAsideWithTheDateAndANewOneStarted) {
    testing::WriteFile(path, std::string(4096, 'x'));
    Store("EHAM", "2026/12/01 05:50\nEHAM 010550Z 24010KT 12/08 Q1013\n");
    const std::string aside = folder.File("nimbrel/history.damaged-2026-12-01.sqlite3");
    EXPECT_EQ(testing::ReadFile(aside), std::string(4096, 'x'));
    EXPECT_EQ(All("EHAM").size(), 1u);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("history.damaged-2026-12-01.sqlite3"), std::string::npos);
}

TEST_F(HistoryTest, ALockedFileLosesOnlyThatRunWithOneWarning) {
    Store("EHAM", "2026/12/01 05:20\nEHAM 010520Z 24010KT 12/08 Q1013\n");
    {
        const OtherWriter other(path);
        Store("EHAM", "2026/12/01 05:50\nEHAM 010550Z 24010KT 12/08 Q1013\n");
        Store("EHAM", "2026/12/01 05:55\nEHAM 010555Z 24010KT 12/08 Q1013\n");
    }
    EXPECT_EQ(warnings.size(), 1u);
    Store("EHAM", "2026/12/01 06:20\nEHAM 010620Z 24010KT 12/08 Q1013\n");
    EXPECT_EQ(All("EHAM").size(), 2u);
}

TEST_F(HistoryTest, AReaderDuringAWriteSeesWhatWasCommitted) {
    Store("EHAM", "2026/12/01 05:50\nEHAM 010550Z 24010KT 12/08 Q1013\n");
    const OtherWriter other(path); // deleted everything, not committed
    const THistoryDatabase reader(path, THistoryDatabase::Mode::ReadOnly,
                                  std::chrono::milliseconds(0));
    EXPECT_EQ(reader.Load("EHAM", 0).size(), 1u);
}

TEST_F(HistoryTest, AFileOfALaterLayoutIsLeftAlone) {
    std::filesystem::create_directories(folder.File("nimbrel"));
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db, "PRAGMA user_version=99", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    Store("EHAM", "2026/12/01 05:50\nEHAM 010550Z 24010KT 12/08 Q1013\n");
    EXPECT_EQ(warnings.size(), 1u);
    std::vector<std::string> names; // nothing moved aside, nothing added
    for (const auto& entry : std::filesystem::directory_iterator(folder.File("nimbrel")))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"history.sqlite3"});
}

TEST(HistoryRun, ReadsBackWhatItWroteAndRefusesAnythingElse) {
    const std::vector<FetchedStationFile> files = {
        {"EHAM", "2026/12/01 05:50\nEHAM 010550Z 24010KT 12/08 Q1013\n"},
        {"", "a slot without a station"},
        {"KJFK", ""},
        {"LFPG", "two\nlines 7\n"}};
    const std::vector<FetchedStationFile> read = ParseHistoryRun(HistoryRunText(files));
    ASSERT_EQ(read.size(), 3u);
    for (std::size_t i = 0; i < read.size(); ++i) {
        const FetchedStationFile& expected = files[i == 0 ? 0 : i + 1];
        EXPECT_EQ(read[i].Code, expected.Code);
        EXPECT_EQ(read[i].Text, expected.Text);
    }
    const std::string longest = std::to_string(MaxHistoryRunFileBytes + 1);
    const std::string six = HistoryRunText(std::vector<FetchedStationFile>(6, {"EHAM", "x"}));
    for (const std::string& bad :
         {std::string("EHAM\n"), std::string("EHAM x\n"), std::string("EHAM 5\nabc"),
          std::string(" 3\nabc"), std::string("EHAM 1"), std::string("EH\tAM 1\na"),
          std::string("EHAM -1\n"), "EHAM " + longest + "\n", six})
        EXPECT_THROW(ParseHistoryRun(bad), std::invalid_argument) << bad;
}

TEST_F(HistoryTest, TheHelperKeepsTheRunAndItsFailuresAreWarnedOnce) {
    const std::string file = "2026/12/01 05:50\nEHAM 010550Z 24010KT 12/08 Q1013\n";
    struct Row {
        std::optional<HistoryHelperOutcome> outcome;
        bool stored;
        std::size_t warnings; // in all, after the row
    };
    const HistoryHelperOutcome failed{false, {"History not available: locked"}};
    const Row rows[] = {
        {HistoryHelperOutcome{true, {"moved aside"}}, true, 1},
        {failed, false, 2},
        {failed, false, 2}, // the same failure again: no second warning
        {HistoryHelperOutcome{true, {}}, true, 2},
        {failed, false, 3},      // a new failure after a kept run
        {std::nullopt, true, 3}, // the helper could not run: kept here
    };
    std::vector<std::string> texts;
    for (const Row& row : rows) {
        history.StoreThrough([&](const std::string& text) {
            texts.push_back(text);
            return row.outcome;
        });
        EXPECT_EQ(history.StoreRun({{"EHAM", file}, {"", "no station"}}), row.stored);
        EXPECT_EQ(warnings.size(), row.warnings);
    }
    EXPECT_EQ(texts.back(), HistoryRunText({{"EHAM", file}}));
    EXPECT_EQ(All("EHAM").size(), 1u);
    history.StoreThrough([&](const std::string& text) { // the file is open here now
        texts.push_back(text);
        return std::nullopt;
    });
    history.StoreRun({{"EHAM", file}});
    EXPECT_EQ(texts.size(), std::size(rows));
}

} // namespace
} // namespace nimbrel
