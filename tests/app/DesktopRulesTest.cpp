// The desktop program's own texts and its start-up and hide rules.
#include "app/DesktopRules.h"

#include <gtest/gtest.h>

namespace nimbrel {
namespace {

TEST(DesktopTexts, WelcomeTextIsExact) {
    EXPECT_EQ(WelcomeText(),
              "Welcome to Nimbrel.\r\n"
              "\r\n"
              "By default Nimbrel will start minimized in the system tray and periodically "
              "checks\r\n"
              "a weather server on the Internet for updated weather reports. Therefor it is "
              "required\r\n"
              "that Nimbrel is allowed to access the Internet if you are using a firewall.\r\n"
              "You can change Nimbrel's behaviour in 'Tools | Preferences'.");
}

TEST(DesktopTexts, StartAndRefusal) {
    EXPECT_EQ(StartingLogMessage(), "Starting Nimbrel.");
    EXPECT_STREQ(AlreadyRunningText, "Nimbrel is already running.");
}

struct StartCase {
    bool isFirstRun, minimizeOnStartup, trayAvailable;
    StartWindowState expected;
};

class InitialWindowStateTest : public ::testing::TestWithParam<StartCase> {};

TEST_P(InitialWindowStateTest, FollowsFirstRunSettingAndTray) {
    const StartCase& c = GetParam();
    EXPECT_EQ(InitialWindowState(c.isFirstRun, c.minimizeOnStartup, c.trayAvailable), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    DesktopRules, InitialWindowStateTest,
    ::testing::Values(
        // The first run greets the user in a window, whatever the setting says.
        StartCase{true, true, true, StartWindowState::Shown},
        StartCase{true, false, true, StartWindowState::Shown},
        StartCase{true, true, false, StartWindowState::Shown},
        StartCase{false, true, true, StartWindowState::HiddenInTray},
        StartCase{false, false, true, StartWindowState::Shown},
        StartCase{false, false, false, StartWindowState::Shown},
        // No tray to come back from: minimized, never hidden.
        StartCase{false, true, false, StartWindowState::Minimized}));

TEST(DesktopRules, HidingNeedsATray) {
    EXPECT_EQ(HideMainWindowAction(true), HideAction::HideToTray);
    EXPECT_EQ(HideMainWindowAction(false), HideAction::Minimize);
}

} // namespace
} // namespace nimbrel
