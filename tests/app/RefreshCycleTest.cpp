#include "app/RefreshCycle.h"

#include "support/FakeClock.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace nimbrel {
namespace {

const std::string Ordinal = "\xC2\xBA";
const std::string SchipholText =
    "2026/12/08 12:25\nEHAM 081225Z 24012KT 9999 FEW030 12/08 Q1013 NOSIG";

// Every call the refresh makes on the window, in order, as one line each.
class RecordingView final : public MainView {
public:
    std::vector<std::string> calls;

    void SetStatusText(const std::string& text) override { calls.push_back("status " + text); }
    void SetTrayHint(const std::string& hint) override { calls.push_back("hint " + hint); }
    void SetTrayAnimation(bool on) override {
        calls.push_back(std::string("animation ") + (on ? "on" : "off"));
    }
    void SetTrayIconIndex(int index) override { calls.push_back("icon " + std::to_string(index)); }
    void ShowBalloon(const std::string& title, const std::string& text) override {
        calls.push_back("balloon " + title + "|" + text);
    }
    void SetTab(int slot, bool visible, const std::string& caption) override {
        calls.push_back("tab " + std::to_string(slot) + (visible ? " shown " : " hidden ") +
                        caption);
    }
    void SetTabVisible(int slot, bool visible) override {
        calls.push_back("tab " + std::to_string(slot) + (visible ? " shown" : " hidden"));
    }
    void SetLocalTime(int slot, const std::string& text) override {
        calls.push_back("clock " + std::to_string(slot) + " " + text);
    }
    void ShowPanel(int slot, const PanelModel&) override {
        calls.push_back("panel " + std::to_string(slot));
    }

    std::vector<std::string> Starting(const std::string& prefix) const {
        std::vector<std::string> found;
        std::copy_if(calls.begin(), calls.end(), std::back_inserter(found),
                     [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
        return found;
    }
};

class RefreshCycleTest : public ::testing::Test {
protected:
    RefreshCycleTest() {
        clock.utc = TDateTime{2026, 12, 8, 12, 40, 0, 0};
        clock.localOffsetHours = 1;
    }

    void Refresh(bool changed = false, bool failed = false) {
        refresh.UpdateLocations({settings, metar, changed, failed}, false);
    }

    std::vector<TLogEntry> Log() const {
        std::vector<TLogEntry> entries;
        for (const std::string& line : log.Lines())
            entries.push_back(ParseLogLine(line));
        return entries;
    }

    testing::FakeClock clock;
    TSettings settings;
    std::array<std::string, 5> metar;
    RecordingView view;
    TLogList log{clock};
    TMetarDecoder decoder{clock};
    TRefreshCycle refresh{view, log, clock, decoder};
};

TEST_F(RefreshCycleTest, StartUpWithoutReportsShowsTheNoDataState) {
    Refresh();
    EXPECT_EQ(view.Starting("clock").size(), 5u);
    EXPECT_EQ(
        view.Starting("tab"),
        (std::vector<std::string>{"tab 1 shown Amsterdam Airport S...", "tab 1 shown",
                                  "tab 2 hidden", "tab 3 hidden", "tab 4 hidden", "tab 5 hidden"}));
    EXPECT_TRUE(log.Lines().empty());
    EXPECT_EQ(refresh.TrayIconIndex(), 24);
    EXPECT_EQ(refresh.WeatherSummary(), "");
    EXPECT_EQ(refresh.TrayHint(), "Amsterdam Airport Schiphol\r\n");
    EXPECT_TRUE(view.Starting("balloon").empty());
    EXPECT_EQ(refresh.StatusText(), "No actual weather report");
    EXPECT_EQ(view.Starting("animation"), std::vector<std::string>{"animation off"});
    EXPECT_EQ(refresh.Panel(1).LabelLocalTime, "13:40");
    EXPECT_EQ(refresh.Panel(2).LabelLocationName, "Location");
    EXPECT_EQ(refresh.Tab(2).Caption, "Location 2") << "a hidden tab keeps its caption";
}

TEST_F(RefreshCycleTest, EachSlotStepRunsClockTabPanelInOrder) {
    settings.Slot(3) = {"KJFK", "New York", "-5"};
    metar[0] = SchipholText;
    Refresh();
    std::vector<std::string> steps;
    for (const std::string& call : view.calls)
        if (call.rfind("clock", 0) == 0 || call.rfind("tab", 0) == 0 || call.rfind("panel", 0) == 0)
            steps.push_back(call);
    const std::vector<std::string> expected = {"clock 1 13:40",
                                               "tab 1 shown Amsterdam Airport S...",
                                               "tab 1 shown",
                                               "panel 1",
                                               "clock 2 12:40",
                                               "tab 2 hidden",
                                               "panel 2",
                                               "clock 3 07:40",
                                               "tab 3 shown New York",
                                               "panel 3",
                                               "clock 4 12:40",
                                               "tab 4 hidden",
                                               "panel 4",
                                               "clock 5 12:40",
                                               "tab 5 hidden",
                                               "panel 5"};
    EXPECT_EQ(steps, expected);
    EXPECT_EQ(Log().size(), 1u) << "a slot with a code but no report logs nothing";
    EXPECT_EQ(refresh.Panel(3).ImageSignificantWeather, 24);
    EXPECT_EQ(refresh.Panel(3).LabelLocationName, "New York");
}

TEST_F(RefreshCycleTest, DecodedPrimaryFillsSummaryTrayAndLog) {
    metar[0] = SchipholText;
    settings.ShowLocationCode = true;
    Refresh(true);
    const std::string summary = "Sky condition: Mostly clear\r\nWind speed: 22 km/h  (W-SW)\r\n"
                                "Temperature: 12 " +
                                Ordinal + "C";
    EXPECT_EQ(refresh.WeatherSummary(), summary);
    EXPECT_EQ(refresh.TrayHint(), "Amsterdam Airport Schiphol (EHAM)\r\n" + summary);
    EXPECT_EQ(refresh.TrayIconIndex(), 4);
    EXPECT_EQ(view.Starting("icon"), std::vector<std::string>{"icon 4"});
    EXPECT_EQ(view.Starting("balloon"),
              std::vector<std::string>{"balloon Amsterdam Airport Schiphol (EHAM)|" + summary});
    EXPECT_EQ(refresh.StatusText(), "Last successful weather update: 13:40");
    const std::vector<TLogEntry> entries = Log();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].Kind, LogInformation);
    EXPECT_EQ(entries[0].Message,
              "Decoded metar: EHAM 081225Z 24012KT 9999 FEW030 12/08 Q1013 NOSIG");
}

TEST_F(RefreshCycleTest, TrayTipIsCutButTheHintStaysWhole) {
    settings.Slot(1).LocationName = std::string(120, 'n');
    metar[0] = SchipholText;
    Refresh();
    EXPECT_GT(refresh.TrayHint().size(), 127u);
    EXPECT_EQ(view.Starting("hint"),
              std::vector<std::string>{"hint " + refresh.TrayHint().substr(0, 127)});
}

TEST_F(RefreshCycleTest, StatusTextFollowsConnectionAndReport) {
    struct Case {
        bool failed;
        bool report;
        const char* status;
    };
    const Case cases[] = {
        {true, true,
         "Failed to establish connection with weather server (last successful update: 13:40)"},
        {true, false, "Failed to establish connection with weather server"},
        {false, true, "Last successful weather update: 13:40"},
        {false, false, "No actual weather report"},
    };
    for (const Case& c : cases) {
        RecordingView caseView;
        TRefreshCycle cycle(caseView, log, clock, decoder);
        std::array<std::string, 5> texts;
        texts[0] = c.report ? SchipholText : "";
        cycle.UpdateLocations({settings, texts, false, c.failed}, false);
        EXPECT_EQ(cycle.StatusText(), c.status);
        EXPECT_EQ(caseView.Starting("status"),
                  std::vector<std::string>{"status " + std::string(c.status)});
    }
}

TEST_F(RefreshCycleTest, BalloonRules) {
    struct Case {
        bool changed, disabled, showCode;
        std::vector<std::string> balloons;
    };
    const std::string text = "Sky condition: Mostly clear\r\nWind speed: 22 km/h  (W-SW)\r\n"
                             "Temperature: 12 " +
                             Ordinal + "C";
    const Case cases[] = {
        {false, false, true, {}},
        {true, true, true, {}},
        {true, false, true, {"balloon Amsterdam Airport Schiphol (EHAM)|" + text}},
        {true, false, false, {"balloon Amsterdam Airport Schiphol|" + text}},
    };
    metar[0] = SchipholText;
    for (const Case& c : cases) {
        RecordingView caseView;
        TRefreshCycle cycle(caseView, log, clock, decoder);
        settings.DisableBalloonMessages = c.disabled;
        settings.ShowLocationCode = c.showCode;
        cycle.UpdateLocations({settings, metar, c.changed, false}, false);
        EXPECT_EQ(caseView.Starting("balloon"), c.balloons);
    }
}

TEST_F(RefreshCycleTest, BalloonOfAnEmptyRecordHasEmptyText) {
    settings.Slot(1) = {"ZZZZ", "Nowhere", "0"};
    Refresh(true); // no report held, as after a run that brought nothing for the slot
    EXPECT_EQ(view.Starting("balloon"), std::vector<std::string>{"balloon Nowhere|"});
    EXPECT_EQ(refresh.TrayHint(), "Nowhere\r\n");
}

TEST_F(RefreshCycleTest, FailedAttemptKeepsTheStampOfTheLastSuccessfulRefresh) {
    metar[0] = SchipholText;
    Refresh(true);
    clock.utc.Minute = 55; // 13:55 local
    view.calls.clear();
    Refresh(true, true);
    EXPECT_EQ(refresh.StatusText(),
              "Failed to establish connection with weather server (last successful update: "
              "13:40)");
    EXPECT_EQ(view.Starting("balloon").size(), 1u) << "the changed flag still stands";

    Refresh(false, false);
    EXPECT_EQ(refresh.StatusText(), "Last successful weather update: 13:55");

    // Another primary station: the stamp of the old one says nothing about it.
    settings.Slot(1).LocationCode = "EHRD";
    clock.utc.Minute = 58;
    Refresh(false, true);
    EXPECT_EQ(refresh.StatusText(),
              "Failed to establish connection with weather server (last successful update: "
              "13:58)");
}

TEST_F(RefreshCycleTest, EmptyPrimaryAsksForALocationAndLeavesTheTrayAlone) {
    metar[0] = SchipholText;
    Refresh();
    const std::string hint = refresh.TrayHint();
    settings.Slot(1) = {"", "", "0"};
    view.calls.clear();
    Refresh(true);
    EXPECT_EQ(refresh.Tab(1).Caption, "Select a primary location");
    EXPECT_TRUE(refresh.Tab(1).Visible);
    EXPECT_EQ(refresh.Panel(1).LabelLocationName, "Select a primary location");
    EXPECT_EQ(refresh.StatusText(), "Select a primary location");
    EXPECT_EQ(refresh.TrayHint(), hint);
    EXPECT_TRUE(view.Starting("hint").empty());
    EXPECT_TRUE(view.Starting("animation").empty());
    EXPECT_TRUE(view.Starting("icon").empty());
    EXPECT_TRUE(view.Starting("balloon").empty());
}

TEST_F(RefreshCycleTest, PrimaryWithNameOnlyKeepsItsTabCaptionAndRunsTheSummary) {
    settings.Slot(1) = {"", "Home", "0"};
    Refresh();
    EXPECT_TRUE(refresh.Tab(1).Visible);
    EXPECT_EQ(refresh.Tab(1).Caption, "Location 1");
    EXPECT_EQ(refresh.TrayHint(), "Home\r\n");
    EXPECT_EQ(refresh.StatusText(), "No actual weather report");
}

TEST_F(RefreshCycleTest, OffsetThatIsNotAWholeNumberReadsAsZero) {
    const char* offsets[] = {"5.5", "", "abc", " 2"};
    for (const char* offset : offsets) {
        settings.Slot(1).LocationTimeZoneOffset = offset;
        Refresh();
        EXPECT_EQ(refresh.Panel(1).LabelLocalTime, "12:40") << offset;
        EXPECT_EQ(refresh.Panel(5).LabelLocalTime, "12:40") << "the run goes on";
    }
}

TEST_F(RefreshCycleTest, ClockTickRefreshesOnlyTheClocksWhenTheMinuteChanges) {
    metar[0] = SchipholText;
    Refresh();
    view.calls.clear();
    const std::size_t logLines = log.Count();

    refresh.ClockTimerTick(settings); // minute 40 differs from the initial 0
    EXPECT_EQ(refresh.LastClockMinute(), 40);
    EXPECT_EQ(view.calls,
              (std::vector<std::string>{"clock 1 13:40", "clock 2 12:40", "clock 3 12:40",
                                        "clock 4 12:40", "clock 5 12:40"}));
    view.calls.clear();
    clock.utc.Second = 55;
    refresh.ClockTimerTick(settings);
    EXPECT_TRUE(view.calls.empty()) << "same minute, nothing to do";

    clock.utc.Minute = 41;
    settings.Use24HourClock = false;
    refresh.ClockTimerTick(settings);
    EXPECT_EQ(view.calls.front(), "clock 1 1:41 PM");
    EXPECT_EQ(view.calls.size(), 5u);
    EXPECT_EQ(log.Count(), logLines);
    EXPECT_EQ(refresh.Panel(1).LabelLocalTime, "1:41 PM");
    EXPECT_EQ(refresh.Panel(1).LabelCover, "Mostly clear") << "the panel texts stay";
}

TEST_F(RefreshCycleTest, FullRefreshAskedForDuringADecodeRunsAfterIt) {
    metar[0] = SchipholText;
    metar[1] = "2026/12/08 12:20\nEHRD 081220Z 00000KT CAVOK M02/M04 Q1030";
    settings.Slot(2) = {"EHRD", "Rotterdam", "1"};
    int pending = 0;
    TRefreshCycle* cycle = nullptr;
    TRefreshCycle nested(view, log, clock, decoder, [&] {
        if (++pending == 2) {
            cycle->UpdateLocations({settings, metar, false, false}, false);
            cycle->UpdateLocations({settings, metar, false, false}, true);
        }
    });
    cycle = &nested;
    nested.UpdateLocations({settings, metar, false, false}, false);

    const std::vector<TLogEntry> entries = Log();
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].Message,
              "Decoded metar: EHAM 081225Z 24012KT 9999 FEW030 12/08 Q1013 NOSIG");
    EXPECT_EQ(entries[1].Message, "Decoded metar: EHRD 081220Z 00000KT CAVOK M02/M04 Q1030");
    EXPECT_EQ(entries[2].Message, entries[0].Message);
    EXPECT_EQ(entries[3].Message, entries[1].Message);
    EXPECT_EQ(nested.Panel(1).LabelTemperature, "12 " + Ordinal + "C");
    EXPECT_EQ(nested.Panel(2).LabelTemperature, "-2 " + Ordinal + "C");
    // The clock refresh ran at once, in the middle of the first decode.
    EXPECT_EQ(view.calls[2], "clock 1 13:40");
    EXPECT_EQ(view.calls[3], "clock 2 13:40");
}

} // namespace
} // namespace nimbrel
