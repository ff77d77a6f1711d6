#include "settings/Autostart.h"

#include "settings/IniFile.h"
#include "settings/SettingsStore.h"
#include "support/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <vector>

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
    EXPECT_EQ(ReadFile(Entry()),
              "[Desktop Entry]\nType=Application\nName=Nimbrel\nGenericName=Weather Monitor\n"
              "Comment=Latest weather reports of up to five stations in the notification area\n"
              "Icon=org.nimbrel.Nimbrel\nExec=/opt/nimbrel/bin/nimbrel\nTerminal=false\n");
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
                      ResultCase{"InvalidUtf8Program", "Nimbrel", "/opt/\xFF/n", true, false},
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

// Whatever the program's path, the entry is one the desktop accepts, or there is none and the
// log says why; and the entry's place is written, never a file a link there points to.
struct ValidEntryCase {
    friend void PrintTo(const ValidEntryCase& c, std::ostream* out) { *out << c.Name; }
    const char* Name;
    std::string Program;
    bool Written;
};

class AutostartValidEntry : public Autostart,
                            public ::testing::WithParamInterface<ValidEntryCase> {};

TEST_P(AutostartValidEntry, IsAcceptedByTheDesktopOrLoggedAsRefused) {
    if (std::system("command -v desktop-file-validate >/dev/null") != 0) {
        GTEST_SKIP() << "desktop-file-validate is not installed";
    }
    const ValidEntryCase& c = GetParam();
    WriteFile(config_.File("victim"), "untouched");
    std::filesystem::create_directories(config_.File("autostart"));
    std::filesystem::create_symlink(config_.File("victim"), Entry());
    std::vector<std::string> warnings;
    TSettings settings;
    EXPECT_EQ(
        SaveSettingsAndAutostart(settings, config_.File("Nimbrel.ini"), c.Program,
                                 [&warnings](const std::string& w) { warnings.push_back(w); }),
        c.Written);
    EXPECT_EQ(ReadFile(config_.File("victim")), "untouched");
    if (c.Written) {
        EXPECT_FALSE(std::filesystem::is_symlink(Entry()));
        EXPECT_EQ(std::system(("desktop-file-validate '" + Entry() + "' >&2").c_str()), 0);
        EXPECT_TRUE(warnings.empty());
        const std::string text = ReadFile(Entry());
        EXPECT_EQ(text.find("\nExec="), text.rfind("\nExec=")) << text;
    } else {
        EXPECT_EQ(warnings, std::vector<std::string>{AutostartInvalidPathMessage});
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AutostartValidEntry,
    ::testing::Values(ValidEntryCase{"Plain", "/usr/bin/nimbrel", true},
                      ValidEntryCase{"Tab", "/opt/a\tb/nimbrel", true},
                      ValidEntryCase{"Escape", "/opt/a\x1B[31m/nimbrel", true},
                      ValidEntryCase{"Delete", "/opt/a\x7F/nimbrel", true},
                      ValidEntryCase{"LineBreak", "/opt/a\nExec=/evil\r\n/nimbrel", true},
                      ValidEntryCase{"Spaces", "/home/a b/my programs/nimbrel", true},
                      ValidEntryCase{"Quotes", "/opt/\"q\"/it's/nimbrel", true},
                      ValidEntryCase{"Backslash", "/opt/a\\b\\/nimbrel", true},
                      ValidEntryCase{"Dollar", "/opt/$HOME/`id`/%f/nimbrel", true},
                      ValidEntryCase{"ControlAndQuote", "/opt/\x01'\\%/nimbrel", true},
                      ValidEntryCase{"NonAscii",
                                     "/home/zo\xC3\xAB/\xE5\xA4\xA9\xE6\xB0\x97/nimbrel", true},
                      ValidEntryCase{"InvalidUtf8", "/home/zo\xEB/nimbrel", false},
                      ValidEntryCase{"Surrogate", "/opt/\xED\xA0\x80/nimbrel", false},
                      ValidEntryCase{"Overlong", "/opt/\xC0\xAF/nimbrel", false}),
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
