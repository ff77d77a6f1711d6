#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

struct RunResult {
    int exitCode = -1;
    std::vector<std::string> lines;
};

class DecodeCommandTest : public ::testing::Test {
protected:
    void TearDown() override { fs::remove(input_); }

    void WriteInput(const std::string& text) { std::ofstream(input_, std::ios::binary) << text; }

    // Runs "nimbrel-cli decode ARGS FILE" and collects its standard output by lines.
    RunResult Decode(const std::string& arguments) const {
        return DecodeFile(arguments, input_.string());
    }

    static RunResult DecodeFile(const std::string& arguments, const std::string& file) {
        const std::string command =
            std::string(NIMBREL_CLI_PATH) + " decode " + arguments + " " + file + " 2>/dev/null";
        RunResult result;
        FILE* pipe = popen(command.c_str(), "r");
        if (pipe == nullptr)
            return result;
        std::string line;
        std::array<char, 4096> buffer{};
        while (fgets(buffer.data(), buffer.size(), pipe) != nullptr) {
            line += buffer.data();
            if (!line.empty() && line.back() == '\n') {
                line.pop_back();
                result.lines.push_back(line);
                line.clear();
            }
        }
        const int status = pclose(pipe);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return result;
    }

    fs::path input_ =
        fs::temp_directory_path() / ("nimbrel-decode-test-" + std::to_string(getpid()) + ".txt");
};

TEST_F(DecodeCommandTest, PrintsTheRecordWithKeysInOrder) {
    WriteInput("2010/05/12 12:25\nEHAM 121225Z 24012KT 9999 FEW020 12/08 Q1013 NOSIG\n");
    const RunResult run = Decode("--offset 2 --utc-now 2010-05-12T13:07");
    ASSERT_EQ(run.exitCode, 0);
    ASSERT_EQ(run.lines.size(), 1u);
    const Json json = Json::parse(run.lines[0]);
    const std::vector<std::string> keys = {"Metar",
                                           "IsRecent",
                                           "UpdateTime",
                                           "WeatherClass",
                                           "Condition",
                                           "TimeGroup",
                                           "UtcTime",
                                           "LocalTime",
                                           "WindDirection",
                                           "WindDirectionIndex",
                                           "WindSpeed",
                                           "Visibility",
                                           "Weather",
                                           "CloudCover",
                                           "SkyCondition",
                                           "CloudLayers",
                                           "Temperature",
                                           "TemperatureIndex",
                                           "DewPoint",
                                           "Pressure",
                                           "WeatherImageIndex"};
    std::vector<std::string> actual;
    for (const auto& item : json.items())
        actual.push_back(item.key());
    EXPECT_EQ(actual, keys);
    EXPECT_EQ(json["Metar"], "EHAM 121225Z 24012KT 9999 FEW020 12/08 Q1013 NOSIG");
    EXPECT_EQ(json["IsRecent"], true);
    EXPECT_EQ(json["UpdateTime"], "13:07");
    EXPECT_EQ(json["Condition"], 3);
    EXPECT_EQ(json["UtcTime"], "12:25 UTC");
    EXPECT_EQ(json["LocalTime"], "14:25");
    EXPECT_EQ(json["WindDirectionIndex"], 11);
    EXPECT_EQ(json["WindSpeed"].get<double>(), 12 * 1.8556701030927835) << "round-trips exactly";
    EXPECT_EQ(json["Visibility"], 9999);
    EXPECT_EQ(json["Pressure"], 1013);
    EXPECT_EQ(json["WeatherImageIndex"], 4);
    const Json layers = Json::parse(R"([{"Present":true,"Cover":"FEW","Height":20},
        {"Present":false,"Cover":"","Height":0},{"Present":false,"Cover":"","Height":0}])");
    EXPECT_EQ(json["CloudLayers"], layers);
}

TEST_F(DecodeCommandTest, TwelveHourClockMissingValuesAndOddBytes) {
    WriteInput("  \r\n\tEHAM\x01 121225Z //////\xff\"\\ \r\n");
    const RunResult run = Decode("--12h --utc-now 2010-05-12T13:07");
    ASSERT_EQ(run.exitCode, 0);
    ASSERT_EQ(run.lines.size(), 1u);
    const Json json = Json::parse(run.lines[0]);
    EXPECT_EQ(json["Metar"], "EHAM\x01 121225Z //////\xef\xbf\xbd\"\\")
        << "trimmed, no first line, escaped, and a byte that is not UTF-8 replaced";
    EXPECT_EQ(json["UpdateTime"], "1:07 PM");
    EXPECT_EQ(json["UtcTime"], "12:25 PM UTC");
    for (const char* key : {"WindSpeed", "Visibility", "Temperature", "DewPoint", "Pressure"})
        EXPECT_EQ(json[key], -9999) << key;
}

TEST_F(DecodeCommandTest, StandardInputLinesShareOneDecoderAndSkipBlankLines) {
    WriteInput("EHAM 121225Z 9999\n\n   \r\nEHAM 9999\nEHAM 122300Z\nEHAM 9999\x01\n");
    const RunResult run = DecodeFile("--lines --utc-now 2010-05-12T13:07", "< " + input_.string());
    ASSERT_EQ(run.exitCode, 0);
    ASSERT_EQ(run.lines.size(), 4u);
    // Without a time group, the previous line's daytime decides between sun (1) and moon (0).
    const int conditions[] = {1, 1, 0, 0};
    for (std::size_t i = 0; i < run.lines.size(); ++i)
        EXPECT_EQ(Json::parse(run.lines[i])["Condition"], conditions[i]) << run.lines[i];
    EXPECT_EQ(Json::parse(run.lines[3])["Metar"], "EHAM 9999") << "control characters trimmed";
}

TEST_F(DecodeCommandTest, ExitStatusTellsBadUsageFromUnreadableInput) {
    WriteInput("EHAM 9999");
    struct Case {
        std::string arguments;
        int exitCode;
    };
    const Case cases[] = {
        {"--utc-now 2010-05-12", 2},
        {"--utc-now 2010-13-12T13:07", 2},
        {"--offset 25", 2},
        {"--offset x", 2},
        {"--unknown", 2},
        {"--offset -5", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Decode(c.arguments).exitCode, c.exitCode) << c.arguments;
    EXPECT_EQ(DecodeFile("", "/nonexistent/station.txt").exitCode, 1);
}

} // namespace
