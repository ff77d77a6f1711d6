#include "app/RefreshCycle.h"

#include "support/FakeClock.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace nimbrel {
namespace {

const std::string Deg = "\xC2\xBA";
const std::string SchipholText =
    "2026/12/08 12:25\nEHAM 081225Z 24012KT 9999 FEW030 12/08 Q1013 NOSIG";
const std::string SchipholSummary = "Sky condition: Mostly clear\r\nWind speed: 22 km/h  (W-SW)\r\n"
                                    "Temperature: 12 " +
                                    Deg + "C";

// Every call the refresh makes on the window, in order, one line each.
class RecordingView final : public MainView {
public:
    std::vector<std::string> calls;

    void SetStatusText(const std::string& t) override { calls.push_back("status " + t); }
    void SetTrayHint(const std::string& t) override { calls.push_back("hint " + t); }
    void SetTrayAnimation(bool on) override { calls.push_back(on ? "anim on" : "anim off"); }
    void SetTrayIconIndex(int i) override { calls.push_back("icon " + std::to_string(i)); }
    void ShowBalloon(const std::string& title, const std::string& text) override {
        calls.push_back("balloon " + title + "|" + text);
    }
    void SetTab(int slot, bool, const std::string& caption) override {
        calls.push_back("tab " + std::to_string(slot) + " " + caption);
    }
    void SetTabVisible(int slot, bool visible) override {
        calls.push_back("tab " + std::to_string(slot) + (visible ? " shown" : " hidden"));
    }
    void SetLocalTime(int slot, const std::string& t) override {
        calls.push_back("clock " + std::to_string(slot) + " " + t);
    }
    void ShowPanel(int slot, const PanelModel&) override {
        calls.push_back("panel " + std::to_string(slot));
    }

    std::vector<std::string> Starting(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const std::string& c : calls)
            if (c.rfind(prefix, 0) == 0)
                found.push_back(c);
        return found;
    }
};

class RefreshCycleTest : public ::testing::Test {
protected:
    RefreshCycleTest() {
        clock.utc = TDateTime{2026, 12, 8, 12, 40, 0, 0};
        clock.localOffsetHours = 1; // the decoder stamps the PC's local time: 13:40
    }

    void Refresh(bool changed = false, bool failed = false) {
        refresh.UpdateLocations({settings, metar, changed, failed}, false);
    }

    std::vector<std::string> LogMessages() const {
        std::vector<std::string> messages;
        for (const std::string& line : log.Lines())
            messages.push_back(ParseLogLine(line).Message);
        return messages;
    }

    testing::FakeClock clock;
    TSettings settings; // slot 1: EHAM, Amsterdam Airport Schiphol, offset 1
    std::array<std::string, 5> metar;
    RecordingView view;
    TLogList log{clock};
    TMetarDecoder decoder{clock};
    TRefreshCycle refresh{view, log, clock, decoder};
};

TEST_F(RefreshCycleTest, StartUpWithoutReportsShowsTheNoDataState) {
    Refresh();
    EXPECT_TRUE(log.Lines().empty());
    EXPECT_EQ(refresh.TrayIconIndex(), 24);
    EXPECT_EQ(refresh.TrayHint(), "Amsterdam Airport Schiphol\r\n");
    EXPECT_EQ(view.Starting("anim"), std::vector<std::string>{"anim off"});
    EXPECT_TRUE(view.Starting("balloon").empty());
    EXPECT_EQ(refresh.StatusText(), "No actual weather report");
    EXPECT_EQ(refresh.Tab(2).Caption, "Location 2") << "a hidden tab keeps its caption";
}

TEST_F(RefreshCycleTest, EachSlotStepRunsClockTabPanelInOrder) {
    settings.Slot(3) = {"KJFK", "New York", "-5", ""};
    metar[0] = SchipholText;
    Refresh(true);
    std::vector<std::string> steps;
    for (const std::string& call : view.calls)
        if (call.rfind("clock", 0) == 0 || call.rfind("tab", 0) == 0 || call.rfind("panel", 0) == 0)
            steps.push_back(call);
    const std::vector<std::string> expected = {"clock 1 13:40",  "tab 1 Amsterdam Airport S...",
                                               "tab 1 shown",    "panel 1",
                                               "clock 2 12:40",  "tab 2 hidden",
                                               "panel 2",        "clock 3 07:40",
                                               "tab 3 New York", "panel 3",
                                               "clock 4 12:40",  "tab 4 hidden",
                                               "panel 4",        "clock 5 12:40",
                                               "tab 5 hidden",   "panel 5"};
    EXPECT_EQ(steps, expected);
    EXPECT_EQ(LogMessages(), std::vector<std::string>{"Decoded metar: EHAM 081225Z 24012KT 9999 "
                                                      "FEW030 12/08 Q1013 NOSIG"})
        << "a slot with a code but no report logs nothing";
    EXPECT_EQ(view.Starting("hint"),
              std::vector<std::string>{"hint Amsterdam Airport Schiphol\r\n" + SchipholSummary});
    EXPECT_EQ(view.Starting("icon"), std::vector<std::string>{"icon 4"});
}

TEST(BuildWeatherSummary, WritesTheKnownLinesOnly) {
    struct Case {
        const char* sky;
        const char* weather;
        double wind;
        double temperature;
        bool metric, celsius;
        std::string summary;
    };
    const Case cases[] = {
        {"", "", NotAvailable, NotAvailable, true, true, ""},
        {"Cloudy", "", NotAvailable, -3, true, true,
         "Sky condition: Cloudy\r\nTemperature: -3 " + Deg + "C"},
        {"", " Rain", 18.52, NotAvailable, true, true,
         "Present weather:  Rain\r\nWind speed: 19 km/h  (N)\r\n"},
        {"", "", 18.52, 12, false, false,
         "Wind speed: 12 mph  (N)\r\nTemperature: 54 " + Deg + "F"},
        {"", "", 0, -3, true, false, "Wind speed: 0 km/h  (N)\r\nTemperature: 27 " + Deg + "F"},
        {"", "", NotAvailable, 10, true, false, "Temperature: 50 " + Deg + "F"},
    };
    for (const Case& c : cases) {
        TWeatherInfo r;
        r.SkyCondition = c.sky;
        r.Weather = c.weather;
        r.WindSpeed = c.wind;
        r.WindDirection = "N";
        r.Temperature = c.temperature;
        TSettings s;
        s.UseMetricValues = c.metric;
        s.UseCelsius = c.celsius;
        EXPECT_EQ(BuildWeatherSummary(r, s), c.summary);
    }
}

TEST_F(RefreshCycleTest, StatusTextFollowsConnectionAndReport) {
    struct Case {
        bool failed, report;
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
        TRefreshCycle cycle(view, log, clock, decoder);
        metar[0] = c.report ? SchipholText : "";
        cycle.UpdateLocations({settings, metar, false, c.failed}, false);
        EXPECT_EQ(cycle.StatusText(), c.status);
    }
}

TEST_F(RefreshCycleTest, BalloonRules) {
    struct Case {
        bool changed, disabled, showCode;
        std::vector<std::string> balloons;
    };
    const Case cases[] = {
        {false, false, true, {}},
        {true, true, true, {}},
        {true, false, true, {"balloon Amsterdam Airport Schiphol (EHAM)|" + SchipholSummary}},
        {true, false, false, {"balloon Amsterdam Airport Schiphol|" + SchipholSummary}},
    };
    metar[0] = SchipholText;
    for (const Case& c : cases) {
        view.calls.clear();
        settings.DisableBalloonMessages = c.disabled;
        settings.ShowLocationCode = c.showCode;
        Refresh(c.changed);
        EXPECT_EQ(view.Starting("balloon"), c.balloons);
    }
}

TEST_F(RefreshCycleTest, FailedAttemptKeepsTheStampOfTheLastSuccessfulRefresh) {
    metar[0] = SchipholText;
    Refresh(true);
    clock.utc.Minute = 55;
    view.calls.clear();
    Refresh(true, true);
    EXPECT_EQ(refresh.StatusText(), "Failed to establish connection with weather server (last "
                                    "successful update: 13:40)");
    EXPECT_EQ(view.Starting("balloon").size(), 1u) << "the changed flag still stands";

    Refresh(false, false);
    EXPECT_EQ(refresh.StatusText(), "Last successful weather update: 13:55");

    // The stamp of another station says nothing about this one.
    settings.Slot(1).LocationCode = "EHRD";
    clock.utc.Minute = 58;
    Refresh(false, true);
    EXPECT_EQ(refresh.StatusText(), "Failed to establish connection with weather server (last "
                                    "successful update: 13:58)");
}

TEST_F(RefreshCycleTest, EmptyPrimaryAsksForALocationAndLeavesTheTrayAlone) {
    metar[0] = SchipholText;
    Refresh();
    const std::string hint = refresh.TrayHint();
    settings.Slot(1) = {"", "", "0", ""};
    view.calls.clear();
    Refresh(true);
    EXPECT_EQ(refresh.Tab(1).Caption, "Select a primary location");
    EXPECT_TRUE(refresh.Tab(1).Visible);
    EXPECT_EQ(refresh.Panel(1).LabelLocationName, "Select a primary location");
    EXPECT_EQ(refresh.StatusText(), "Select a primary location");
    EXPECT_EQ(refresh.TrayHint(), hint);
    for (const char* untouched : {"hint", "anim", "icon", "balloon"})
        EXPECT_TRUE(view.Starting(untouched).empty()) << untouched;
}

TEST_F(RefreshCycleTest, PrimaryWithNameOnlyKeepsItsTabCaptionAndRunsTheSummary) {
    settings.Slot(1) = {"", "Home", "0", ""};
    Refresh();
    EXPECT_TRUE(refresh.Tab(1).Visible);
    EXPECT_EQ(refresh.Tab(1).Caption, "Location 1");
    EXPECT_EQ(refresh.TrayHint(), "Home\r\n");
}

TEST_F(RefreshCycleTest, OffsetThatIsNotAWholeNumberReadsAsZero) {
    for (const char* offset : {"5.5", "", "abc"}) {
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
    EXPECT_EQ(view.calls.size(), 5u);
    EXPECT_EQ(refresh.Panel(1).LabelLocalTime, "1:41 PM");
    EXPECT_EQ(refresh.Panel(1).LabelCover, "Mostly clear") << "the panel texts stay";
    EXPECT_EQ(log.Count(), 1u);
}

TEST_F(RefreshCycleTest, FullRefreshAskedForDuringADecodeRunsAfterIt) {
    const std::string newer = "2026/12/08 12:55\nEHAM 081255Z 24012KT 9999 FEW030 14/08 Q1013";
    metar[0] = SchipholText;
    int groups = 0;
    TRefreshCycle* cycle = nullptr;
    TRefreshCycle nested(view, log, clock, decoder, [&] {
        if (++groups == 2) { // a newer report arrives while the older one is decoded
            metar[0] = newer;
            cycle->UpdateLocations({settings, metar, false, false}, false);
            cycle->UpdateLocations({settings, metar, false, false}, true);
        }
    });
    cycle = &nested;
    nested.UpdateLocations({settings, metar, false, false}, false);

    EXPECT_EQ(LogMessages(),
              (std::vector<std::string>{
                  "Decoded metar: EHAM 081225Z 24012KT 9999 FEW030 12/08 Q1013 NOSIG",
                  "Decoded metar: EHAM 081255Z 24012KT 9999 FEW030 14/08 Q1013"}));
    EXPECT_EQ(nested.Panel(1).LabelTemperature, "14 " + Deg + "C") << "the newer report stays";
    EXPECT_NE(nested.WeatherSummary().find("Temperature: 14 " + Deg + "C"), std::string::npos);
    EXPECT_EQ(view.calls[2], "clock 1 13:40") << "the clock refresh runs at once";
}

// Local times at pinned instants, as the tz database has them (TZ=zone date -d '... UTC').
TEST_F(RefreshCycleTest, LocalTimesFollowTheStationsZone) {
    struct Case {
        const char *zone, *utc, *timeGroup; // the report's stamp, DDHHMM in UTC
        bool use24;
        const char *clock, *reportLocal; // LabelLocalTime, and the report's local time
    };
    const Case cases[] = {
        {"Europe/Amsterdam", "2026-07-15T10:40", "151040", true, "12:40", "12:40"},
        {"Europe/Amsterdam", "2026-01-15T10:40", "151040", true, "11:40", "11:40"},
        {"Australia/Sydney", "2026-01-15T10:40", "151040", true, "21:40", "21:40"},
        {"Australia/Sydney", "2026-07-15T10:40", "151040", true, "20:40", "20:40"},
        {"Asia/Kolkata", "2026-07-15T10:25", "151025", true, "15:55", "15:55"},
        {"Asia/Kathmandu", "2026-07-15T10:40", "151040", true, "16:25", "16:25"},
        {"America/St_Johns", "2026-01-15T10:40", "151040", true, "07:10", "07:10"},
        {"Pacific/Kiritimati", "2026-07-15T10:40", "151040", true, "00:40", "00:40"},
        // Summer time starts and ends at 01:00 UTC; a report keeps the offset of its own time.
        {"Europe/Amsterdam", "2026-03-29T00:59", "290059", true, "01:59", "01:59"},
        {"Europe/Amsterdam", "2026-03-29T01:00", "290100", true, "03:00", "03:00"},
        {"Europe/Amsterdam", "2026-03-29T01:10", "290055", true, "03:10", "01:55"},
        {"Europe/Amsterdam", "2026-10-25T00:59", "250059", true, "02:59", "02:59"},
        {"Europe/Amsterdam", "2026-10-25T01:00", "250100", true, "02:00", "02:00"},
        {"Europe/Amsterdam", "2026-04-01T00:10", "312350", true, "02:10", "01:50"},
        {"Asia/Kolkata", "2026-07-15T10:25", "151025", false, "3:55 PM", "3:55 PM"},
        {"Mars/Olympus_Mons", "2026-07-15T10:40", "151040", true, "11:40", "11:40"}, // offset 1
    };
    for (const Case& c : cases) {
        TRefreshCycle cycle{view, log, clock, decoder};
        settings.Slot(1).LocationTimeZone = c.zone;
        settings.Use24HourClock = c.use24;
        ASSERT_TRUE(ParseDateTime(c.utc, clock.utc));
        metar[0] = std::string("EHAM ") + c.timeGroup + "Z 24012KT 9999 FEW030 12/08 Q1013";
        cycle.UpdateLocations({settings, metar, false, false}, false);
        cycle.UpdateLocations({settings, metar, false, false}, true);
        EXPECT_EQ(cycle.Panel(1).LabelLocalTime, c.clock) << c.zone << " " << c.utc;
        EXPECT_TRUE(
            cycle.Panel(1).LabelTime.ends_with(std::string("(") + c.reportLocal + " local)"))
            << c.zone << " " << c.timeGroup << ": " << cycle.Panel(1).LabelTime;
    }
    const std::vector<std::string> messages = LogMessages();
    EXPECT_EQ(std::count(messages.begin(), messages.end(),
                         "Unknown time zone \"Mars/Olympus_Mons\" of location 1: its local time "
                         "is GMT +01."),
              1);
}

} // namespace
} // namespace nimbrel
