#include "settings/SettingsStore.h"

#include "settings/IniFile.h"
#include "support/TempFolder.h"

#include <atomic>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

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
                                     "LocationTimeZoneOffset5=0\n"
                                     "UseHttps=0\n"
                                     "LocationTimeZone1=\n"
                                     "LocationTimeZone2=\n"
                                     "LocationTimeZone3=\n"
                                     "LocationTimeZone4=\n"
                                     "LocationTimeZone5=\n";

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

TEST(SettingsLoad, MissingFileGivesDefaultsAndTheDefaultStationsZone) {
    const TempFolder folder;
    TSettings firstRun;
    firstRun.Slot(1).LocationTimeZone = "Europe/Amsterdam";
    EXPECT_EQ(SettingsKeyValues(LoadSettings(folder.File("none.ini"))),
              SettingsKeyValues(firstRun));
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
    changed.UseHttps = true;
    for (int n = 1; n <= 5; ++n) {
        changed.Slot(n) = {"K00" + std::to_string(n), "Name =; " + std::to_string(n),
                           std::to_string(-n), "Zone/" + std::to_string(n)};
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
    EXPECT_NE(saved.find("LocationTimeZone5=\n\n[Extra]\nX=1\n"), std::string::npos) << saved;
    EXPECT_FALSE(LoadSettings(path).UseCelsius);
}

TEST(SettingsSave, AFileFromBeforeHttpsLoadsAsBeforeAndGainsTheKeyAtItsEnd) {
    const std::string defaults = DefaultsFile;
    const std::string older = defaults.substr(0, defaults.find("UseHttps=0\n"));
    const TempFolder folder;
    const std::string path = folder.File("Nimbrel.ini");
    WriteFile(path, older);
    const TSettings loaded = LoadSettings(path);
    EXPECT_EQ(SettingsKeyValues(loaded), SettingsKeyValues(TSettings()));
    SaveSettings(loaded, path);
    EXPECT_EQ(ReadFile(path), defaults) << "the later keys at the end, the zones empty";
}

// Tests run as root, so a refused write is made from the file system's shape or the file's
// read-only mode, not from rights. Each case prepares the folder and names the settings file.
namespace fs = std::filesystem;

struct FileCase {
    friend void PrintTo(const FileCase& c, std::ostream* out) { *out << c.Name; }
    const char* Name;
    const char* File;
    std::function<void(const TempFolder&)> Prepare;
    bool Refused;
    std::function<void(const TempFolder&)> Check;
};

class SettingsSaveFileConditions : public ::testing::TestWithParam<FileCase> {};

TEST_P(SettingsSaveFileConditions, SavesOrRefusesWithTheFullPathAndHarmsNothing) {
    const FileCase& c = GetParam();
    const TempFolder folder;
    const std::string path = folder.File(c.File);
    c.Prepare(folder);
    TSettings settings;
    settings.UseCelsius = false;
    try {
        SaveSettings(settings, path);
        EXPECT_FALSE(c.Refused) << "the save reported success";
        EXPECT_FALSE(LoadSettings(path).UseCelsius);
    } catch (const SettingsWriteError& error) {
        EXPECT_TRUE(c.Refused) << error.what();
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + path);
    }
    c.Check(folder);
}

const std::string OldSettings = "; mine\n[Preferences]\nUseCelsius=1\n";

void WriteSettingsWithMode(const TempFolder& f, int mode) {
    WriteFile(f.File("Nimbrel.ini"), OldSettings);
    fs::permissions(f.File("Nimbrel.ini"), fs::perms(mode));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsSaveFileConditions,
    ::testing::Values(
        FileCase{
            "FolderInTheFilesPlace", "Nimbrel.ini",
            [](const TempFolder& f) { WriteFile(f.File("Nimbrel.ini/in"), "precious"); }, true,
            [](const TempFolder& f) { EXPECT_EQ(ReadFile(f.File("Nimbrel.ini/in")), "precious"); }},
        FileCase{
            "FileInTheFoldersPlace", "config/Nimbrel.ini",
            [](const TempFolder& f) { WriteFile(f.File("config"), "not a folder"); }, true,
            [](const TempFolder& f) { EXPECT_EQ(ReadFile(f.File("config")), "not a folder"); }},
        FileCase{"OversizedFileNotOverwritten", "Nimbrel.ini",
                 [](const TempFolder& f) {
                     WriteFile(f.File("Nimbrel.ini"), "x");
                     fs::resize_file(f.File("Nimbrel.ini"), TIniFile::MaxFileSize + 1);
                 },
                 true,
                 [](const TempFolder& f) {
                     EXPECT_EQ(fs::file_size(f.File("Nimbrel.ini")), TIniFile::MaxFileSize + 1);
                 }},
        FileCase{
            "ReadOnlyFile", "Nimbrel.ini",
            [](const TempFolder& f) { WriteSettingsWithMode(f, 0444); }, true,
            [](const TempFolder& f) { EXPECT_EQ(ReadFile(f.File("Nimbrel.ini")), OldSettings); }},
        FileCase{"CrashLeftATemporaryFile", "Nimbrel.ini",
                 [](const TempFolder& f) {
                     WriteFile(f.File("Nimbrel.ini.tmp-Ab12Z9"), "half a save");
                     WriteFile(f.File("Nimbrel.ini.tmp-notours"), "someone else's");
                 },
                 false,
                 [](const TempFolder& f) {
                     EXPECT_FALSE(fs::exists(f.File("Nimbrel.ini.tmp-Ab12Z9")));
                     EXPECT_TRUE(fs::exists(f.File("Nimbrel.ini.tmp-notours")));
                 }}),
    [](const auto& info) { return std::string(info.param.Name); });

#ifndef _WIN32
// Links and permission bits as POSIX systems have them.
INSTANTIATE_TEST_SUITE_P(
    Posix, SettingsSaveFileConditions,
    ::testing::Values(
        FileCase{"LinkLoop", "Nimbrel.ini",
                 [](const TempFolder& f) {
                     fs::create_symlink(f.File("Nimbrel.ini"), f.File("Nimbrel.ini"));
                 },
                 true,
                 [](const TempFolder& f) { EXPECT_TRUE(fs::is_symlink(f.File("Nimbrel.ini"))); }},
        FileCase{"LinkPlantedAtATemporaryName", "Nimbrel.ini",
                 [](const TempFolder& f) {
                     WriteFile(f.File("victim"), "untouched");
                     fs::create_symlink(f.File("victim"), f.File("Nimbrel.ini.tmp"));
                 },
                 false,
                 [](const TempFolder& f) { EXPECT_EQ(ReadFile(f.File("victim")), "untouched"); }},
        FileCase{"PrivateFileStaysPrivate", "Nimbrel.ini",
                 [](const TempFolder& f) { WriteSettingsWithMode(f, 0600); }, false,
                 [](const TempFolder& f) {
                     EXPECT_EQ(fs::status(f.File("Nimbrel.ini")).permissions(), fs::perms(0600));
                     EXPECT_EQ(ReadFile(f.File("Nimbrel.ini")).rfind("; mine\n", 0), 0u);
                 }}),
    [](const auto& info) { return std::string(info.param.Name); });
#endif

// Saves racing each other keep every line the user wrote, whichever settings win.
TEST(SettingsSave, ConcurrentSavesKeepTheUsersLines) {
    const TempFolder folder;
    const std::string path = folder.File("Nimbrel.ini");
    WriteFile(path, "; my notes\n[Preferences]\nMyOwnKey=mine\n\n[Extra]\nX=1\n");
    std::atomic<int> failures = 0;
    std::vector<std::thread> savers;
    for (int saver = 0; saver < 4; ++saver) {
        savers.emplace_back([&, saver] {
            TSettings settings;
            settings.LongReconnectInterval = 100 + saver;
            for (int round = 0; round < 25; ++round) {
                try {
                    SaveSettings(settings, path);
                } catch (const SettingsWriteError&) {
                    ++failures;
                }
            }
        });
    }
    for (std::thread& saver : savers) {
        saver.join();
    }
    EXPECT_EQ(failures, 0);
    const std::string saved = ReadFile(path);
    EXPECT_EQ(saved.rfind("; my notes\n[Preferences]\nMyOwnKey=mine\nAppVersion=1.6\n", 0), 0u);
    EXPECT_NE(saved.find("LocationTimeZone5=\n\n[Extra]\nX=1\n"), std::string::npos) << saved;
    EXPECT_GE(LoadSettings(path).LongReconnectInterval, 100);
}

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
