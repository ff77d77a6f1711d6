#include "settings/Autostart.h"

#include "settings/IniFile.h"
#include "settings/SettingsStore.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

#ifndef _WIN32
namespace nimbrel {
namespace {

using testing::ReadFile;
using testing::ScopedEnvironment;
using testing::TempFolder;
using testing::WriteFile;

class Autostart : public ::testing::Test {
protected:
    TempFolder config_;
    ScopedEnvironment xdg_{"XDG_CONFIG_HOME", config_.Path().string()};

    std::string Entry(const std::string& name = "Nimbrel") const {
        return config_.File("autostart/" + name + ".desktop");
    }
    std::optional<std::string> Exec() const {
        return TIniFile::Load(Entry()).ReadString("Desktop Entry", "Exec");
    }
};

TEST_F(Autostart, OnWritesAnEntryThatStartsTheProgram) {
    EXPECT_TRUE(SetAutostart("Nimbrel", "/opt/nimbrel/bin/nimbrel", true));
    EXPECT_EQ(ReadFile(Entry()), "[Desktop Entry]\nType=Application\nName=Nimbrel\n"
                                 "Exec=/opt/nimbrel/bin/nimbrel\nTerminal=false\n");
}

TEST_F(Autostart, OnAgainFollowsAMovedProgramAndKeepsTheUsersLines) {
    WriteFile(Entry(), "[Desktop Entry]\nExec=/old/nimbrel\nX-GNOME-Autostart-Delay=10\n");
    EXPECT_TRUE(SetAutostart("Nimbrel", "/new/nimbrel", true));
    EXPECT_EQ(Exec(), "/new/nimbrel");
    EXPECT_EQ(TIniFile::Load(Entry()).ReadString("Desktop Entry", "X-GNOME-Autostart-Delay"), "10");
}

TEST_F(Autostart, OnTurnsOnADesktopSwitchTheUserLeftOff) {
    WriteFile(Entry(), "[Desktop Entry]\nExec=/bin/nimbrel\nHidden=true\n"
                       "X-GNOME-Autostart-enabled=false\n");
    ASSERT_TRUE(SetAutostart("Nimbrel", "/bin/nimbrel", true));
    const TIniFile entry = TIniFile::Load(Entry());
    EXPECT_EQ(entry.ReadString("Desktop Entry", "Hidden"), "false");
    EXPECT_EQ(entry.ReadString("Desktop Entry", "X-GNOME-Autostart-enabled"), "true");
}

TEST_F(Autostart, OffRemovesTheEntryAndAMissingEntryCountsAsRemoved) {
    ASSERT_TRUE(SetAutostart("Nimbrel", "/usr/bin/nimbrel", true));
    EXPECT_TRUE(SetAutostart("Nimbrel", "/usr/bin/nimbrel", false));
    EXPECT_FALSE(std::filesystem::exists(Entry()));
    EXPECT_TRUE(SetAutostart("Nimbrel", "/usr/bin/nimbrel", false));
}

struct ResultCase {
    friend void PrintTo(const ResultCase& c, std::ostream* out) { *out << c.Name; }
    const char* Name;
    std::string ValueName, Data;
    bool Enable;
    bool Expected;
};

class AutostartResult : public Autostart, public ::testing::WithParamInterface<ResultCase> {};

TEST_P(AutostartResult, ReportsWhetherItWasDone) {
    const ResultCase& c = GetParam();
    EXPECT_EQ(SetAutostart(c.ValueName, c.Data, c.Enable), c.Expected);
    EXPECT_FALSE(std::filesystem::exists(config_.File("evil.desktop")));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AutostartResult,
    ::testing::Values(ResultCase{"BothEmpty", "", "", true, false},
                      ResultCase{"BothEmptyOff", "", "", false, false},
                      ResultCase{"NoProgram", "Nimbrel", "", true, false},
                      ResultCase{"LineBreakInProgram", "Nimbrel", "/a\nExec=/evil", true, false},
                      ResultCase{"NameLeavesTheFolder", "../evil", "/bin/true", true, false},
                      ResultCase{"NameIsFolderUp", "..", "/bin/true", true, false}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(Autostart, UnwritableFolderGivesFalse) {
    WriteFile(config_.File("autostart"), "a file where the folder belongs");
    EXPECT_FALSE(SetAutostart("Nimbrel", "/usr/bin/nimbrel", true));
}

struct ExecCase {
    friend void PrintTo(const ExecCase& c, std::ostream* out) { *out << c.Name; }
    const char* Name;
    std::string Program, Exec;
};

class AutostartExec : public Autostart, public ::testing::WithParamInterface<ExecCase> {};

TEST_P(AutostartExec, QuotesWhatTheLauncherWouldSplitOrExpand) {
    ASSERT_TRUE(SetAutostart("Nimbrel", GetParam().Program, true));
    EXPECT_EQ(Exec(), GetParam().Exec);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AutostartExec,
    ::testing::Values(ExecCase{"Plain", "/usr/bin/nimbrel", "/usr/bin/nimbrel"},
                      ExecCase{"Space", "/home/a b/nimbrel", "\"/home/a b/nimbrel\""},
                      ExecCase{"Percent", "/opt/100%/nimbrel", "/opt/100%%/nimbrel"},
                      ExecCase{"Dollar", "/opt/$x/n", "\"/opt/\\\\$x/n\""},
                      ExecCase{"Quote", "/opt/\"q\"/n", "\"/opt/\\\\\"q\\\\\"/n\""},
                      ExecCase{"Backslash", "/opt/a\\b", "\"/opt/a\\\\\\\\b\""}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(Autostart, SaveAndAutostartFollowTheSetting) {
    TSettings settings;
    settings.StartAutomaticallyByWindows = true;
    EXPECT_TRUE(SaveSettingsAndAutostart(settings, config_.File("Nimbrel.ini"), "/bin/nimbrel"));
    EXPECT_TRUE(std::filesystem::exists(Entry()));
    settings.StartAutomaticallyByWindows = false;
    EXPECT_TRUE(SaveSettingsAndAutostart(settings, config_.File("Nimbrel.ini"), "/bin/nimbrel"));
    EXPECT_FALSE(std::filesystem::exists(Entry()));
}

TEST_F(Autostart, FailedSaveLeavesTheEntryAlone) {
    std::filesystem::create_directories(config_.File("Nimbrel.ini"));
    TSettings settings;
    settings.StartAutomaticallyByWindows = true;
    EXPECT_THROW(SaveSettingsAndAutostart(settings, config_.File("Nimbrel.ini"), "/bin/nimbrel"),
                 SettingsWriteError);
    EXPECT_FALSE(std::filesystem::exists(Entry()));
}

} // namespace
} // namespace nimbrel
#endif
