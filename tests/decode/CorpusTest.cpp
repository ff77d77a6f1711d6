#include "decode/DecodeMetar.h"
#include "support/FakeClock.h"

#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace nimbrel {
namespace {

std::vector<std::string> ReadCorpus() {
    std::ifstream in(NIMBREL_DATA_DIR "/metar-corpus.txt");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Real reports carry every oddity stations send; each must decode to a sane record.
TEST(CorpusTest, EveryReportDecodesToASaneRecord) {
    const std::vector<std::string> corpus = ReadCorpus();
    ASSERT_GE(corpus.size(), 1000u) << "corpus missing at " NIMBREL_DATA_DIR;
    testing::FakeClock clock;
    clock.utc = {2026, 12, 8, 12, 0, 0, 0};
    TMetarDecoder decoder(clock);
    int withTime = 0;
    int withTemperature = 0;
    for (const std::string& line : corpus) {
        SCOPED_TRACE(line);
        TWeatherInfo r;
        ASSERT_NO_THROW(decoder.DecodeMetar("2026/12/08 12:00\n" + line, r, 1, true));
        EXPECT_EQ(r.Metar, line);
        EXPECT_LE(r.Condition, 22);
        EXPECT_GE(r.WindDirectionIndex, 0);
        EXPECT_LE(r.WindDirectionIndex, 18);
        EXPECT_FALSE(r.SkyCondition.empty());
        EXPECT_TRUE(r.Visibility == NotAvailable || r.Visibility >= 0);
        EXPECT_TRUE(r.WindSpeed == NotAvailable || r.WindSpeed >= 0);
        withTime += !r.TimeGroup.empty();
        withTemperature += r.Temperature != NotAvailable;
    }
    // Nearly every real report has both; a broken pattern would show up here.
    EXPECT_GT(withTime, static_cast<int>(corpus.size()) * 9 / 10);
    EXPECT_GT(withTemperature, static_cast<int>(corpus.size()) * 8 / 10);
}

} // namespace
} // namespace nimbrel
