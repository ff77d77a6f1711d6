#include "settings/SettingsStore.h"

#include "settings/IniFile.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace nimbrel {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

constexpr const char* DefaultsFile = "[Preferences]\n"
                                     "AppVersion=1.6\n"
                                     "AdvancedWeatherReport=0\n"
                                     "DisableBalloonMessages=0\n"
                                     "GetWeatherReportOnStartup=1\n"
                                     "ShowLocationCode=0\n"
                                     "MinimizeOnStartup=1\n"
                                     "StartAutomaticallyByWindows=1\n"
                                     "TabbedView=1\n"
                                     "Use24HourClock=1\n"
                                     "UseCelsius=1\n"
                                     "UseMetricValues=1\n"
                                     "FtpActiveMode=0\n"
                                     "LongReconnectInterval=30\n"
                                     "DelayGetWeaterOnStartup=0\n"
                                     "LocationCode1=EHAM\n"
                                     "LocationCode2=\n"
                                     "LocationCode3=\n"
                                     "LocationCode4=\n"
                                     "LocationCode5=\n"
                                     "LocationName1=Amsterdam Airport Schiphol\n"
                                     "LocationName2=\n"
                                     "LocationName3=\n"
                                     "LocationName4=\n"
                                     "LocationName5=\n"
                                     "LocationTimeZoneOffset1=1\n"
                                     "LocationTimeZoneOffset2=0\n"
                                     "LocationTimeZoneOffset3=0\n"
                                     "LocationTimeZoneOffset4=0\n"
                                     "LocationTimeZoneOffset5=0\n";

TSettings LoadText(const std::string& text) {
    const TempFolder folder;
    WriteFile(folder.File("Nimbrel.ini"), text);
    return LoadSettings(folder.File("Nimbrel.ini"));
}

TEST(SettingsSave, DefaultsGiveTheReferenceFileByteForByte) {
    const TempFolder folder;
    SaveSettings(TSettings(), folder.File("Nimbrel.ini"));
    EXPECT_EQ(ReadFile(folder.File("Nimbrel.ini")), testing::NativeLineEnds(DefaultsFile));
    EXPECT_EQ(SettingsFileText(TSettings()), testing::NativeLineEnds(DefaultsFile));
}

TEST(SettingsLoad, MissingFileGivesDefaults) {
    const TempFolder folder;
    EXPECT_EQ(SettingsKeyValues(LoadSettings(folder.File("none.ini"))),
              SettingsKeyValues(TSettings()));
}

struct LoadCase {
    friend void PrintTo(const LoadCase& c, std::ostream* out) { *out << c.Name; }
    const char* Name;
    const char* Lines; // below the section header
    std::function<bool(const TSettings&)> Holds;
};

class SettingsLoadValues : public ::testing::TestWithParam<LoadCase> {};

TEST_P(SettingsLoadValues, ReadAsTheProgramMeansThem) {
    const LoadCase& c = GetParam();
    EXPECT_TRUE(c.Holds(LoadText(std::string("[Preferences]\n") + c.Lines)));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsLoadValues,
    ::testing::Values(
        LoadCase{"EmptyCodeStaysEmpty", "LocationCode1=\n",
                 [](const TSettings& s) { return s.Slot(1).LocationCode.empty(); }},
        LoadCase{"WordBooleanGivesDefault", "UseCelsius=yes\n",
                 [](const TSettings& s) { return s.UseCelsius; }},
        LoadCase{"EmptyBooleanGivesDefault", "FtpActiveMode=\n",
                 [](const TSettings& s) { return !s.FtpActiveMode; }},
        LoadCase{"TwoIsTrue", "AdvancedWeatherReport=2\n",
                 [](const TSettings& s) { return s.AdvancedWeatherReport; }},
        LoadCase{"ZeroIsFalse", "UseCelsius=0\n", [](const TSettings& s) { return !s.UseCelsius; }},
        LoadCase{"DecimalIntervalGivesDefault", "LongReconnectInterval=1.5\n",
                 [](const TSettings& s) { return s.LongReconnectInterval == 30; }},
        LoadCase{"TrailingTextGivesDefault", "LongReconnectInterval=45min\n",
                 [](const TSettings& s) { return s.LongReconnectInterval == 30; }},
        LoadCase{"HugeIntervalGivesDefault", "LongReconnectInterval=99999999999999\n",
                 [](const TSettings& s) { return s.LongReconnectInterval == 30; }},
        LoadCase{"OutOfRangeKeptAsIs", "LongReconnectInterval=0\nDelayGetWeaterOnStartup=-5\n",
                 [](const TSettings& s) {
                     return s.LongReconnectInterval == 0 && s.DelayGetWeaterOnStartup == -5;
                 }},
        LoadCase{
            "KeysIgnoreCase", "usecelsius=0\nlocationcode3=KJFK\n",
            [](const TSettings& s) { return !s.UseCelsius && s.Slot(3).LocationCode == "KJFK"; }},
        LoadCase{"BlanksAroundValue", "  LocationName2 =  New York  \n",
                 [](const TSettings& s) { return s.Slot(2).LocationName == "New York"; }},
        LoadCase{"OffsetTextKeptWhole", "LocationTimeZoneOffset2=abc\n",
                 [](const TSettings& s) {
                     return s.Slot(2).LocationTimeZoneOffset == "abc" &&
                            OffsetHours(s.Slot(2).LocationTimeZoneOffset) == 0;
                 }},
        LoadCase{"AppVersionNeverRead", "AppVersion=garbage\n",
                 [](const TSettings& s) {
                     return SettingsKeyValues(s).front() ==
                            std::pair<std::string, std::string>("AppVersion", "1.6");
                 }}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(SettingsLoad, OtherSectionDoesNotCount) {
    EXPECT_TRUE(LoadText("[Other]\nUseCelsius=0\n").UseCelsius);
}

TEST(SettingsRoundTrip, EveryFieldSurvivesASave) {
    TSettings changed;
    changed.MinimizeOnStartup = false;
    changed.GetWeatherReportOnStartup = false;
    changed.StartAutomaticallyByWindows = false;
    changed.TabbedView = false;
    changed.LongReconnectInterval = 360;
    changed.AdvancedWeatherReport = true;
    changed.DisableBalloonMessages = true;
    changed.ShowLocationCode = true;
    changed.FtpActiveMode = true;
    changed.DelayGetWeaterOnStartup = 60;
    changed.UseMetricValues = false;
    changed.UseCelsius = false;
    changed.Use24HourClock = false;
    for (int n = 1; n <= 5; ++n) {
        changed.Slot(n) = {"K00" + std::to_string(n), "Name =; " + std::to_string(n),
                           std::to_string(-n)};
    }
    const TempFolder folder;
    SaveSettings(changed, folder.File("Nimbrel.ini"));
    EXPECT_EQ(SettingsKeyValues(LoadSettings(folder.File("Nimbrel.ini"))),
              SettingsKeyValues(changed));
}

TEST(SettingsSave, KeepsForeignLinesAndUpdatesInPlace) {
    const TempFolder folder;
    const std::string path = folder.File("Nimbrel.ini");
    WriteFile(path, "; my notes\n[Preferences]\nusecelsius=1\nMyOwnKey=mine\n\n[Extra]\nX=1\n");
    TSettings settings;
    settings.UseCelsius = false;
    SaveSettings(settings, path);
    const std::string saved = ReadFile(path);
    EXPECT_EQ(
        saved.rfind("; my notes\n[Preferences]\nUseCelsius=0\nMyOwnKey=mine\nAppVersion=1.6\n", 0),
        0u)
        << saved;
    EXPECT_NE(saved.find("LocationTimeZoneOffset5=0\n\n[Extra]\nX=1\n"), std::string::npos)
        << saved;
    EXPECT_FALSE(LoadSettings(path).UseCelsius);
}

// Tests run as root, so a refused write is made from the file system's shape, not from rights.
struct RefusedCase {
    friend void PrintTo(const RefusedCase& c, std::ostream* out) { *out << c.Name; }
    const char* Name;
    std::function<std::string(const TempFolder&)> Prepare; // returns the settings path
    std::function<void(const TempFolder&)> CheckIntact;
};

class SettingsRefusedWrite : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(SettingsRefusedWrite, RaisesTheErrorWithTheFullPathAndKeepsWhatWasThere) {
    const RefusedCase& c = GetParam();
    const TempFolder folder;
    const std::string path = c.Prepare(folder);
    try {
        SaveSettings(TSettings(), path);
        FAIL() << "the save reported success";
    } catch (const SettingsWriteError& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + path);
    }
    c.CheckIntact(folder);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsRefusedWrite,
    ::testing::Values(
        RefusedCase{"FolderInTheFilesPlace",
                    [](const TempFolder& f) {
                        WriteFile(f.File("Nimbrel.ini/inside.txt"), "precious");
                        return f.File("Nimbrel.ini");
                    },
                    [](const TempFolder& f) {
                        EXPECT_EQ(ReadFile(f.File("Nimbrel.ini/inside.txt")), "precious");
                        EXPECT_FALSE(std::filesystem::exists(f.File("Nimbrel.ini.tmp")));
                    }},
        RefusedCase{
            "FileInTheFoldersPlace",
            [](const TempFolder& f) {
                WriteFile(f.File("config"), "not a folder");
                return f.File("config/Nimbrel.ini");
            },
            [](const TempFolder& f) { EXPECT_EQ(ReadFile(f.File("config")), "not a folder"); }},
        RefusedCase{"TemporaryFileBlocked",
                    [](const TempFolder& f) {
                        WriteFile(f.File("Nimbrel.ini"), "[Preferences]\nUseCelsius=0\n");
                        std::filesystem::create_directories(f.File("Nimbrel.ini.tmp/x"));
                        return f.File("Nimbrel.ini");
                    },
                    [](const TempFolder& f) {
                        EXPECT_EQ(ReadFile(f.File("Nimbrel.ini")), "[Preferences]\nUseCelsius=0\n");
                    }},
        RefusedCase{"OversizedFileNotOverwritten",
                    [](const TempFolder& f) {
                        WriteFile(f.File("Nimbrel.ini"), "x");
                        std::filesystem::resize_file(f.File("Nimbrel.ini"),
                                                     TIniFile::MaxFileSize + 1);
                        return f.File("Nimbrel.ini");
                    },
                    [](const TempFolder& f) {
                        EXPECT_EQ(std::filesystem::file_size(f.File("Nimbrel.ini")),
                                  TIniFile::MaxFileSize + 1);
                    }}),
    [](const auto& info) { return std::string(info.param.Name); });

#ifndef _WIN32
using testing::ScopedEnvironment;

struct PathCase {
    friend void PrintTo(const PathCase& c, std::ostream* out) { *out << c.Name; }
    const char* Name;
    std::optional<std::string> AppData, XdgConfigHome, Home;
    std::string Expected;
};

class SettingsPath : public ::testing::TestWithParam<PathCase> {};

TEST_P(SettingsPath, FollowsAppDataThenTheDesktopConvention) {
    const PathCase& c = GetParam();
    const ScopedEnvironment appData("APPDATA", c.AppData);
    const ScopedEnvironment xdg("XDG_CONFIG_HOME", c.XdgConfigHome);
    const ScopedEnvironment home("HOME", c.Home);
    EXPECT_EQ(SettingsFilePath(), c.Expected);
}

const std::string WorkingFolder = std::filesystem::current_path().string();

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsPath,
    ::testing::Values(
        PathCase{"AppData", "/roaming", "/xdg", "/home/u", "/roaming/Nimbrel.ini"},
        PathCase{"RelativeAppDataMadeAbsolute", "rel", std::nullopt, "/home/u",
                 WorkingFolder + "/rel/Nimbrel.ini"},
        PathCase{"EmptyAppDataFallsToXdg", "", "/xdg", "/home/u", "/xdg/Nimbrel.ini"},
        PathCase{"XdgUnset", std::nullopt, std::nullopt, "/home/u", "/home/u/.config/Nimbrel.ini"},
        PathCase{"XdgEmpty", std::nullopt, "", "/home/u", "/home/u/.config/Nimbrel.ini"},
        PathCase{"RelativeXdgIgnored", std::nullopt, "cfg", "/home/u",
                 "/home/u/.config/Nimbrel.ini"}),
    [](const auto& info) { return std::string(info.param.Name); });
#endif

} // namespace
} // namespace nimbrel
