#include "support/TempFolder.h"

#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>

namespace {

using nimbrel::testing::ReadFile;
using nimbrel::testing::TempFolder;
using nimbrel::testing::WriteFile;

struct CliResult {
    int ExitCode = -1;
    std::string Out, Err;
};

// Runs nimbrel-cli with the arguments (already quoted for the shell) and the given HOME, so the
// user's own settings never leak into a test.
CliResult RunCli(const TempFolder& folder, const std::string& arguments) {
    const std::string errFile = folder.File("stderr.txt");
    const std::string command = "env -u APPDATA HOME='" + folder.Path().string() +
                                "' XDG_CONFIG_HOME= '" + NIMBREL_CLI_PATH + "' " + arguments +
                                " 2>'" + errFile + "'";
    CliResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    std::array<char, 4096> buffer{};
    for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) {
        result.Out.append(buffer.data(), n);
    }
    const int status = pclose(pipe);
    result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.Err = ReadFile(errFile);
    return result;
}

std::string Line(const std::string& key, const std::string& value) {
    return "\n" + key + "=" + value + "\n";
}

TEST(SettingsCommand, PrintsTheFileAsASaveWouldWriteIt) {
    const TempFolder folder;
    WriteFile(folder.File("my.ini"), "; mine\n[preferences]\nusecelsius=0\nLocationCode2=KJFK\n"
                                     "LongReconnectInterval=x\nForeign=1\n");
    const CliResult result = RunCli(folder, "settings --file '" + folder.File("my.ini") + "'");
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(result.Out.rfind("[Preferences]\nAppVersion=1.6\nAdvancedWeatherReport=0\n", 0), 0u)
        << result.Out;
    EXPECT_NE(result.Out.find(Line("UseCelsius", "0")), std::string::npos);
    EXPECT_NE(result.Out.find(Line("LocationCode2", "KJFK")), std::string::npos);
    EXPECT_NE(result.Out.find(Line("LongReconnectInterval", "30")), std::string::npos);
    EXPECT_EQ(result.Out.find("Foreign"), std::string::npos);
    EXPECT_TRUE(result.Out.ends_with("\nLocationTimeZoneOffset5=0\nUseHttps=0\nLocationTimeZone1=\n"
                                     "LocationTimeZone2=\nLocationTimeZone3=\nLocationTimeZone4=\n"
                                     "LocationTimeZone5=\n"));
    const CliResult firstRun = RunCli(folder, "settings --file '" + folder.File("none.ini") + "'");
    EXPECT_TRUE(firstRun.Out.ends_with("\nUseHttps=0\nLocationTimeZone1=Europe/Amsterdam\n"
                                       "LocationTimeZone2=\nLocationTimeZone3=\n"
                                       "LocationTimeZone4=\nLocationTimeZone5=\n"))
        << firstRun.Out;
}

TEST(SettingsCommand, UnreadableFileFailsClearly) {
    const TempFolder folder;
    WriteFile(folder.File("dir.ini/x"), "");
    const CliResult result = RunCli(folder, "settings --file '" + folder.File("dir.ini") + "'");
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_NE(result.Err.find(folder.File("dir.ini")), std::string::npos) << result.Err;
    EXPECT_EQ(result.Out, "");
}

class StationsCommand : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(folder_.File("db/Countries.ini"), "[Countries]\n"
                                                    "NL=Netherlands;1\n"
                                                    "BAD=Broken\n"
                                                    "US-5=United States (UTC-5);-5\n"
                                                    "US-8=United States (UTC-8);-8\n");
        WriteFile(folder_.File("db/Cities.ini"), "[NL]\nEHAM=Amsterdam Airport Schiphol\n"
                                                 "EHRD=Rotterdam\n[US-8]\nKLAX=Los Angeles\n");
        WriteFile(folder_.File("db/Zones.ini"), "[Zones]\nEHAM=Europe/Amsterdam\n"
                                                "KLAX=America/Los_Angeles\n");
    }
    CliResult Stations(const std::string& arguments) const {
        return RunCli(folder_, "stations --database '" + folder_.File("db") + "' " + arguments);
    }
    TempFolder folder_;
};

struct StationsCase {
    friend void PrintTo(const StationsCase& c, std::ostream* out) { *out << c.Name; }
    const char* Name;
    const char* Arguments;
    int ExitCode;
    const char* Out;
    const char* ErrPart;
};

class StationsOutput : public StationsCommand,
                       public ::testing::WithParamInterface<StationsCase> {};

TEST_P(StationsOutput, ListsWhatTheDialogWouldOffer) {
    const StationsCase& c = GetParam();
    const CliResult result = Stations(c.Arguments);
    EXPECT_EQ(result.ExitCode, c.ExitCode) << result.Err;
    EXPECT_EQ(result.Out, c.Out);
    EXPECT_NE(result.Err.find(c.ErrPart), std::string::npos) << result.Err;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StationsOutput,
    ::testing::Values(StationsCase{"Countries", "", 0,
                                   "Netherlands\t1\tNL\nUnited States (UTC-5)\t-5\tUS-5\n"
                                   "United States (UTC-8)\t-8\tUS-8\n",
                                   ""},
                      StationsCase{"ByName", "NETHERLANDS", 0,
                                   "EHAM\tAmsterdam Airport Schiphol\tEurope/Amsterdam\n"
                                   "EHRD\tRotterdam\t\n",
                                   ""},
                      StationsCase{"ByKey", "us-8", 0, "KLAX\tLos Angeles\tAmerica/Los_Angeles\n",
                                   ""},
                      StationsCase{"SeveralZones", "'united states'", 1, "", "several time zones"},
                      StationsCase{"Unknown", "Narnia", 1, "", "unknown country \"Narnia\""},
                      StationsCase{"LeftOutLine", "BAD", 1, "", "unknown country"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(StationsCommand, MissingCitiesFileIsTheMissingDatabase) {
    std::filesystem::remove(folder_.File("db/Cities.ini"));
    const CliResult result = Stations("");
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_EQ(result.Out, "");
    EXPECT_NE(result.Err.find("The country and city database could not be found."),
              std::string::npos)
        << result.Err;
}

TEST(StationsCommandShipped, FindsTheDatabaseBesideTheProgram) {
    const TempFolder folder;
    const CliResult result = RunCli(folder, "stations Netherlands");
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_NE(result.Out.find("EHAM\tAmsterdam Airport Schiphol\tEurope/Amsterdam\n"),
              std::string::npos);
}

} // namespace
