#include "settings/Preferences.h"

#include "settings/SettingsStore.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace nimbrel {
namespace {

// ---------------------------------------------------------------- time-zone list

TEST(TimeZoneList, HasTwentyFiveEntriesFromMinusTwelveToPlusTwelve) {
    const std::vector<std::string> entries = TimeZoneEntries();
    ASSERT_EQ(entries.size(), 25u);
    EXPECT_EQ(entries.front(), "GMT -12");
    EXPECT_EQ(entries[9], "GMT -03");
    EXPECT_EQ(entries[11], "GMT -01");
    EXPECT_EQ(entries[GmtTimeZoneIndex], "GMT");
    EXPECT_EQ(entries[13], "GMT +01");
    EXPECT_EQ(entries[22], "GMT +10");
    EXPECT_EQ(entries.back(), "GMT +12");
}

TEST(TimeZoneList, OffsetTextAndIndexMapBothWays) {
    struct Case {
        std::string offset;
        int index;
        std::string written; // what applying that entry stores
    };
    const std::vector<Case> cases = {
        {"-12", 0, "-12"}, {"-5", 7, "-5"}, {"0", 12, "0"}, {"1", 13, "1"},
        {"12", 24, "12"},  {"03", 15, "3"}, // leading zero: the entry, written canonically
        {"x", 12, "0"},    {"", 12, "0"},   // not a whole number: GMT, as it counts as 0
        {"1.5", 12, "0"},  {"+3", 12, "0"}, // the stored form has no plus sign
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offset);
        EXPECT_EQ(TimeZoneIndex(c.offset), c.index);
        EXPECT_EQ(TimeZoneOffsetText(c.index), c.written);
    }
}

TEST(TimeZoneList, OffsetsBeyondTheListHaveNoEntryButANamedText) {
    for (const std::string offset : {"13", "14", "-13", "99"}) {
        SCOPED_TRACE(offset);
        EXPECT_EQ(TimeZoneIndex(offset), NoTimeZoneIndex);
    }
    EXPECT_EQ(TimeZoneText(14), "GMT +14");
    EXPECT_EQ(TimeZoneText(-13), "GMT -13");
}

// ---------------------------------------------------------------- opening the dialog

TSettings StoredSettings() {
    TSettings s;
    s.MinimizeOnStartup = false;
    s.FtpActiveMode = true;
    s.LongReconnectInterval = 45;
    s.DelayGetWeaterOnStartup = 5;
    s.Slot(2) = {"KJFK", "New York", "-5", ""};
    return s;
}

TEST(PreferencesShow, LoadsEverySettingAndDisablesApply) {
    TPreferencesModel model;
    model.CheckBoxClicked(); // left enabled by an earlier opening
    model.Show(StoredSettings());
    EXPECT_FALSE(model.ApplyEnabled());
    EXPECT_FALSE(model.Values.MinimizeOnStartup);
    EXPECT_TRUE(model.Values.FtpActiveMode);
    EXPECT_EQ(model.Values.LongReconnectInterval, 45);
    EXPECT_EQ(model.Values.DelayGetWeaterOnStartup, 5);
    EXPECT_EQ(model.Values.Slot(2).LocationCode, "KJFK");
    EXPECT_EQ(model.Values.Slot(2).LocationName, "New York");
    EXPECT_EQ(TimeZoneIndex(model.Values.Slot(2).LocationTimeZoneOffset), 7);
}

TEST(PreferencesShow, HoldsSpinPositionsWithinTheirRanges) {
    struct Case {
        int interval, delay, shownInterval, shownDelay;
    };
    const std::vector<Case> cases = {
        {0, -1, 10, 0}, {9, 0, 10, 0}, {10, 60, 10, 60}, {360, 61, 360, 60}, {361, 999, 360, 60},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.interval);
        TSettings s;
        s.LongReconnectInterval = c.interval;
        s.DelayGetWeaterOnStartup = c.delay;
        TPreferencesModel model;
        model.Show(s);
        EXPECT_EQ(model.Values.LongReconnectInterval, c.shownInterval);
        EXPECT_EQ(model.Values.DelayGetWeaterOnStartup, c.shownDelay);
    }
}

TEST(PreferencesShow, AnOffsetThatIsNotAWholeNumberDoesNotDisturbTheOtherSlots) {
    TSettings s;
    s.Slot(2).LocationTimeZoneOffset = "x";
    s.Slot(3).LocationTimeZoneOffset = "-5";
    s.Slot(5).LocationTimeZoneOffset = "9";
    TPreferencesModel model;
    model.Show(s);
    EXPECT_EQ(model.Values.Slot(1).LocationTimeZoneOffset, "1");
    EXPECT_EQ(model.Values.Slot(2).LocationTimeZoneOffset, "0");
    EXPECT_EQ(model.Values.Slot(3).LocationTimeZoneOffset, "-5");
    EXPECT_EQ(model.Values.Slot(5).LocationTimeZoneOffset, "9");
}

// ---------------------------------------------------------------- Apply enabling

TEST(PreferencesApplyButton, FollowsCheckBoxesSelectClearAndApplyOnly) {
    enum class Event { Show, CheckBox, HttpsBox, Select, Clear, TimeZone, NameTyped, Apply };
    struct Case {
        const char* name;
        std::vector<Event> events;
        bool enabled;
    };
    const std::vector<Case> cases = {
        {"opened", {Event::Show}, false},
        {"check box", {Event::Show, Event::CheckBox}, true},
        {"HTTPS box", {Event::Show, Event::HttpsBox}, true},
        {"HTTPS box applied", {Event::Show, Event::HttpsBox, Event::Apply}, false},
        {"select returned OK", {Event::Show, Event::Select}, true},
        {"clear", {Event::Show, Event::Clear}, true},
        {"time zone chosen", {Event::Show, Event::TimeZone}, false},
        {"name typed", {Event::Show, Event::NameTyped}, false},
        {"applied", {Event::Show, Event::CheckBox, Event::Apply}, false},
        {"changed after apply", {Event::Show, Event::Clear, Event::Apply, Event::Clear}, true},
        {"reopened", {Event::Show, Event::CheckBox, Event::Show}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TPreferencesModel model;
        TSettings settings;
        bool changed = false;
        for (const Event event : c.events) {
            switch (event) {
            case Event::Show:
                model.Show(settings);
                break;
            case Event::CheckBox:
                model.CheckBoxClicked();
                break;
            case Event::HttpsBox:
                model.Values.UseHttps = !model.Values.UseHttps;
                model.CheckBoxClicked();
                EXPECT_EQ(model.FtpActiveModeEnabled(), !model.Values.UseHttps);
                break;
            case Event::Select:
                model.SelectLocation(2, {"LFPG", "Paris", "1", ""});
                break;
            case Event::Clear:
                model.ClearLocation(3);
                break;
            case Event::TimeZone:
                model.ChooseTimeZone(1, 3);
                break;
            case Event::NameTyped:
                model.Values.Slot(1).LocationName = "Home";
                break;
            case Event::Apply:
                model.Apply(settings, changed);
                break;
            }
        }
        EXPECT_EQ(model.ApplyEnabled(), c.enabled);
    }
}

// ---------------------------------------------------------------- Select and Clear

TEST(PreferencesSelect, TakesCodeNameAndTheCountryTimeZone) {
    struct Case {
        std::string offset, stored;
    };
    const std::vector<Case> cases = {
        {"-5", "-5"}, {"0", "0"}, {"12", "12"}, {"x", "0"}, // not a whole number: GMT
        {"13", "13"}, // beyond the list: kept, not moved to another zone
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offset);
        TPreferencesModel model;
        model.Show(TSettings{});
        model.SelectLocation(4, {"KBOS", "Boston", c.offset, ""});
        EXPECT_EQ(model.Values.Slot(4).LocationCode, "KBOS");
        EXPECT_EQ(model.Values.Slot(4).LocationName, "Boston");
        EXPECT_EQ(model.Values.Slot(4).LocationTimeZoneOffset, c.stored);
    }
}

TEST(PreferencesTimeZone, NoSelectionKeepsAnOffsetBeyondTheList) {
    TSettings s;
    s.Slot(3) = {"NZAA", "Auckland", "13", ""};
    TPreferencesModel model;
    model.Show(s);
    model.ChooseTimeZone(3, NoTimeZoneIndex);
    TSettings applied;
    bool changed = false;
    model.Apply(applied, changed);
    EXPECT_EQ(applied.Slot(3).LocationTimeZoneOffset, "13");
    model.ChooseTimeZone(3, 24);
    model.Apply(applied, changed);
    EXPECT_EQ(applied.Slot(3).LocationTimeZoneOffset, "12");
}

// A slot's zone: offered from its own setting or its station's, taken or cleared by the list.
TEST(PreferencesTimeZone, OffersTheStationsZoneBesideTheOffsets) {
    struct Case {
        const char* name;
        const char* code;
        const char* zone; // the slot's setting
        int choose;       // list entry the user picks; NoTimeZoneIndex: none
        const char* offered;
        int shown; // entry shown after the choice
        const char* storedZone;
        const char* storedOffset;
    };
    const Case cases[] = {
        {"FilledBeforeZones", "EHAM", "", NoTimeZoneIndex, "Europe/Amsterdam", 13, "", "1"},
        {"TakesTheOffer", "EHAM", "", StationZoneIndex, "Europe/Amsterdam", StationZoneIndex,
         "Europe/Amsterdam", "1"},
        {"UsesItsZone", "EHAM", "Europe/Amsterdam", NoTimeZoneIndex, "Europe/Amsterdam",
         StationZoneIndex, "Europe/Amsterdam", "1"},
        {"AnOffsetClearsTheZone", "EHAM", "Europe/Amsterdam", 14, "Europe/Amsterdam", 14, "", "2"},
        {"HandEditedNameKept", "EHAM", "Mars/Base", NoTimeZoneIndex, "Mars/Base", StationZoneIndex,
         "Mars/Base", "1"},
        {"StationWithoutZone", "ZZZZ", "", StationZoneIndex, "", 13, "", "1"},
    };
    const TStationZones stationZones = {{"EHAM", "Europe/Amsterdam"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TSettings s;
        s.Slot(2) = {c.code, "Station", "1", c.zone};
        TPreferencesModel model;
        model.Show(s, stationZones);
        model.ChooseTimeZone(2, c.choose);
        EXPECT_EQ(model.OfferedTimeZone(2), c.offered);
        EXPECT_EQ(model.TimeZoneListIndex(2), c.shown);
        TSettings applied;
        bool changed = false;
        model.Apply(applied, changed);
        EXPECT_EQ(applied.Slot(2).LocationTimeZone, c.storedZone);
        EXPECT_EQ(applied.Slot(2).LocationTimeZoneOffset, c.storedOffset);
    }
}

// ---------------------------------------------------------------- ApplyPreferences

TEST(PreferencesApply, ASpinValueOutsideItsRangeIsNotTaken) {
    TPreferencesModel model;
    model.Show(TSettings{});
    model.Values.LongReconnectInterval = 5000;
    model.Values.DelayGetWeaterOnStartup = -3;
    TSettings settings;
    bool changed = false;
    model.Apply(settings, changed);
    EXPECT_EQ(settings.LongReconnectInterval, 360);
    EXPECT_EQ(settings.DelayGetWeaterOnStartup, 0);
}

TEST(PreferencesApply, ClearedSlotIsStoredEmptyWithOffsetZero) {
    TPreferencesModel model;
    model.Show(StoredSettings());
    model.ClearLocation(2);
    TSettings settings = StoredSettings();
    bool changed = false;
    model.Apply(settings, changed);
    EXPECT_EQ(settings.Slot(2).LocationCode, "");
    EXPECT_EQ(settings.Slot(2).LocationName, "");
    EXPECT_EQ(settings.Slot(2).LocationTimeZoneOffset, "0");
}

// ---------------------------------------------------------------- after the dialog closed

class RecordingActions final : public PreferencesClosingActions {
public:
    explicit RecordingActions(const TSettings& settings) : settings_(settings) {}

    std::vector<std::string> steps;
    bool failSave = false;
    TSettings saved;

    void ShowWarning(const std::string& text) override { steps.push_back("warning: " + text); }
    void ArrangeLocationPanels() override { steps.push_back("arrange"); }
    void SaveSettings() override {
        if (failSave) {
            throw SettingsWriteError("/home/u/.config/Nimbrel.ini");
        }
        saved = settings_;
        steps.push_back("save");
    }
    void ShowError(const std::string& text) override { steps.push_back("error: " + text); }
    void AddLogMessage(int kind, const std::string& message) override {
        steps.push_back("log " + std::to_string(kind) + ": " + message);
    }
    void ResetRefreshTimer() override { steps.push_back("reset timer"); }
    void StartGetWeatherReport() override { steps.push_back("fetch"); }

private:
    const TSettings& settings_;
};

const std::string LogLine = "log 0: Resetting weather report refresh interval.";
const std::string Warning = "warning: The primary location cannot be empty. Using default value.";

TEST(PreferencesClosing, RunsTheStepsInOrder) {
    struct Case {
        const char* name;
        bool changed;
        std::string primaryCode;
        bool failSave;
        std::vector<std::string> steps;
    };
    const std::vector<Case> cases = {
        {"cancelled without apply", false, "EHAM", false, {}},
        {"cancelled with empty primary, nothing applied", false, "", false, {}},
        {"applied", true, "LFPG", false, {"arrange", "save", LogLine, "reset timer", "fetch"}},
        {"empty primary",
         true,
         "",
         false,
         {Warning, "arrange", "save", LogLine, "reset timer", "fetch"}},
        {"save fails",
         true,
         "EHAM",
         true,
         {"arrange", "error: Unable to write to /home/u/.config/Nimbrel.ini"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TSettings settings;
        settings.Slot(1).LocationCode = c.primaryCode;
        bool changed = c.changed;
        RecordingActions actions(settings);
        actions.failSave = c.failSave;
        ActOnClosedPreferences(settings, changed, actions);
        EXPECT_EQ(actions.steps, c.steps);
        EXPECT_FALSE(changed);
    }
}

TEST(PreferencesClosing, EmptyPrimaryBecomesTheDefaultStationBeforeTheSave) {
    TSettings settings;
    settings.Slot(1) = {"", "My place", "5", ""};
    bool changed = true;
    RecordingActions actions(settings);
    ActOnClosedPreferences(settings, changed, actions);
    EXPECT_EQ(actions.saved.Slot(1).LocationCode, "EHAM");
    EXPECT_EQ(actions.saved.Slot(1).LocationName, "Amsterdam Airport Schiphol");
    EXPECT_EQ(actions.saved.Slot(1).LocationTimeZoneOffset, "1");
    EXPECT_EQ(actions.saved.Slot(1).LocationTimeZone, "Europe/Amsterdam");
}

TEST(PreferencesClosing, OnlyTheCodeOfThePrimaryLocationIsChecked) {
    TSettings settings;
    settings.Slot(1) = {"LFPG", "", "1", ""};
    bool changed = true;
    RecordingActions actions(settings);
    ActOnClosedPreferences(settings, changed, actions);
    EXPECT_EQ(actions.steps.front(), "arrange");
    EXPECT_EQ(settings.Slot(1).LocationCode, "LFPG");
    EXPECT_EQ(settings.Slot(1).LocationName, "");
}

} // namespace
} // namespace nimbrel
