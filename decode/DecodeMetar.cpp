#include "decode/DecodeMetar.h"

#include "base/TextTime.h"
#include "decode/Figures.h"
#include "decode/Regex.h"
#include "decode/WeatherVocabulary.h"

#include <exception>

namespace nimbrel {

namespace {

struct TMetarPatterns {
    TRegex Time{"^[0-9][0-9][0-9][0-9][0-9][0-9]Z"};
    TRegex Wind{"^([0-9]{3}|VRB)([0-9]{2,3})(G[0-9]{2,3})?(KT|KMH|MPS)?$"};
    TRegex Visibility{"^([0-9]{1,2})SM$|^([0-9]{4})$|^([0-9]{4}NDV)$"};
    TRegex Weather{R"(^(\+|\-|VC)?([A-Z]{2,4})$)"};
    TRegex Cloud{"^(FEW|SCT|BKN|OVC|SKC|CLR|CAVOK)([0-9]{3})?(TCU|CB)?$"};
    TRegex Temperature{"^(M)?([0-9]{2})/(M)?([0-9]{2})"};
    TRegex Pressure{"^([AQ])([0-9]{4})$"};
};

// Compiled on first use and never changed after, so every decoder and thread shares them.
const TMetarPatterns& Patterns() {
    static const TMetarPatterns patterns;
    return patterns;
}

constexpr double KnotsToKmh = 1.8556701030927835;
constexpr double MetresPerSecondToKmh = 3.6;
constexpr double StatuteMileInMetres = 1609;
constexpr double InchHundredthsToHpa = 0.338639;
constexpr int FirstDaytimeHour = 7;
constexpr int LastDaytimeHour = 19;
constexpr int RecentHours = 2;

// Characters up to and including the space separate groups; bytes above 0x7F belong to them.
bool IsSeparator(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

// Calls visit for each group in text order until it returns false.
template <typename Visit> void ForEachGroup(std::string_view text, Visit visit) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && IsSeparator(text[pos]))
            ++pos;
        const std::size_t start = pos;
        while (pos < text.size() && !IsSeparator(text[pos]))
            ++pos;
        if (pos > start && !visit(text.substr(start, pos - start)))
            return;
    }
}

double Figure(std::string_view digits) {
    return ToInteger(digits);
}

// "M" marks a figure below zero. M00 is stored as 0, not as a negative zero that a display
// would print as "-0".
double SignedFigure(std::string_view minus, std::string_view digits) {
    return minus == "M" ? 0.0 - Figure(digits) : Figure(digits);
}

double KmhFactor(std::string_view unit) {
    if (unit == "MPS")
        return MetresPerSecondToKmh;
    if (unit == "KMH")
        return 1.0;
    return KnotsToKmh;
}

// Only hours are compared, as the report gives them. A report hour past midnight's 24 cannot be
// recent, whatever the wrap-around arithmetic would say.
bool IsRecentHour(int reportHour, int currentHour) {
    const int age =
        reportHour <= currentHour ? currentHour - reportHour : currentHour + 24 - reportHour;
    return age >= 0 && age <= RecentHours;
}

} // namespace

struct TMetarDecoder::TDecodeState {
    TWeatherInfo& Record;
    TStationZone Zone;
    bool Use24HourClock;
    TDateTime UtcNow;
    bool Daytime;
    TWeatherFlags Flags{};
    bool TimeDone = false;
    bool WindDone = false;
    bool VisibilityDone = false;
    bool WeatherDone = false;
    bool CloudDone = false;
    bool TemperatureDone = false;
    bool PressureDone = false;
};

std::string_view ExtractReportLine(std::string_view text) {
    const std::size_t lineFeed = text.find('\n');
    return lineFeed == std::string_view::npos ? text : text.substr(lineFeed + 1);
}

TMetarDecoder::TMetarDecoder(const Clock& clock)
    : clock_(clock), match_(std::make_unique<TRegexMatch>()) {
    // Compile now, so the first report decodes as fast as the rest and a pattern that does not
    // compile shows at start-up rather than in the middle of a refresh.
    Patterns();
}

TMetarDecoder::~TMetarDecoder() = default;

void TMetarDecoder::DecodeMetar(std::string_view text, TWeatherInfo& record, int timeZoneOffset,
                                bool use24HourClock,
                                const std::function<void()>& processPendingEvents) {
    DecodeMetar(text, record, TStationZone{nullptr, timeZoneOffset}, use24HourClock,
                processPendingEvents);
}

void TMetarDecoder::DecodeMetar(std::string_view text, TWeatherInfo& record,
                                const TStationZone& zone, bool use24HourClock,
                                const std::function<void()>& processPendingEvents) {
    TDecodeState state{record, zone, use24HourClock, UtcNow(clock_), Daytime};
    record.Metar = ExtractReportLine(text);
    const TDateTime local = clock_.LocalNow();
    record.UpdateTime = FormatClockTime(local.Hour, local.Minute, use24HourClock);
    ForEachGroup(text, [&](std::string_view group) {
        if (group == "RMK")
            return false;
        DecodeGroup(group, state);
        if (processPendingEvents)
            processPendingEvents();
        return true;
    });
    Daytime = state.Daytime;
    DetermineCondition(record, state.Daytime, state.Flags);
    DetermineTemperatureIndex(record);
    DetermineSkyCondition(record);
}

void TMetarDecoder::DecodeGroup(std::string_view group, TDecodeState& state) {
    // A failure inside one decoder costs this group only; the report goes on decoding.
    try {
        DecodeTimeGroup(group, state);
        DecodeWindGroup(group, state);
        DecodeVisibilityGroup(group, state);
        DecodeWeatherGroup(group, state);
        DecodeCloudGroup(group, state);
        DecodeTemperatureGroup(group, state);
        DecodePressureGroup(group, state);
    } catch (const std::exception&) {
    }
}

void TMetarDecoder::DecodeTimeGroup(std::string_view group, TDecodeState& state) {
    if (state.TimeDone || !match_->Match(Patterns().Time, group))
        return;
    TWeatherInfo& record = state.Record;
    const std::string_view time = match_->Group(0);
    record.TimeGroup = time;
    const int hour = ToInteger(time.substr(2, 2));
    const int minute = ToInteger(time.substr(4, 2));
    // The zone's offset when the report was made, not now: they differ across a change of
    // summer time.
    const TDateTime instant =
        ReportInstant(state.UtcNow, ToInteger(time.substr(0, 2)), hour, minute);
    const TClockTime local =
        StationLocalTime({instant.Year, instant.Month, instant.Day, hour, minute}, state.Zone);
    state.Daytime = local.Hour >= FirstDaytimeHour && local.Hour <= LastDaytimeHour;
    record.UtcTime = FormatClockTime(hour, minute, state.Use24HourClock) + " UTC";
    record.LocalTime = FormatClockTime(local.Hour, local.Minute, state.Use24HourClock);
    if (IsRecentHour(hour, state.UtcNow.Hour))
        record.IsRecent = true;
    state.TimeDone = true;
}

void TMetarDecoder::DecodeWindGroup(std::string_view group, TDecodeState& state) {
    if (state.WindDone || !match_->Match(Patterns().Wind, group))
        return;
    TWeatherInfo& record = state.Record;
    record.WindSpeed = Figure(match_->Group(2)) * KmhFactor(match_->Group(4));
    DetermineWindDirection(record, match_->Group(1));
    state.WindDone = true;
}

void TMetarDecoder::DecodeVisibilityGroup(std::string_view group, TDecodeState& state) {
    if (state.VisibilityDone || !match_->Match(Patterns().Visibility, group))
        return;
    TWeatherInfo& record = state.Record;
    if (!match_->Group(1).empty())
        record.Visibility = Figure(match_->Group(1)) * StatuteMileInMetres;
    else if (!match_->Group(2).empty())
        record.Visibility = Figure(match_->Group(2));
    else
        record.Visibility = Figure(match_->Group(3).substr(0, 4));
    state.VisibilityDone = true;
}

void TMetarDecoder::DecodeWeatherGroup(std::string_view group, TDecodeState& state) {
    // Present weather sits between the visibility and the temperature; the gate keeps the
    // station code and trend groups out although the pattern would take them.
    if (!state.VisibilityDone || state.WeatherDone || !match_->Match(Patterns().Weather, group))
        return;
    const std::string phrase =
        WeatherPhrase(match_->Group(1), match_->Group(2), state.Record, state.Flags);
    std::string& weather = state.Record.Weather;
    // Every phrase part brings its leading space except an intensity word ("Heavy", "Light",
    // "Tornado"), which would otherwise stick to the previous group's last word.
    if (!weather.empty() && !phrase.empty() && phrase.front() != ' ')
        weather += ' ';
    weather += phrase;
}

void TMetarDecoder::DecodeCloudGroup(std::string_view group, TDecodeState& state) {
    if (state.CloudDone || !match_->Match(Patterns().Cloud, group))
        return;
    TWeatherInfo& record = state.Record;
    for (std::size_t slot = 0; slot < record.CloudLayers.size(); ++slot) {
        TCloudLayer& layer = record.CloudLayers[slot];
        if (layer.Present)
            continue;
        layer.Present = true;
        layer.Cover = match_->Group(1);
        AddCloudAmount(record, layer.Cover);
        if (!match_->Group(2).empty())
            layer.Height = ToInteger(match_->Group(2));
        state.CloudDone = slot + 1 == record.CloudLayers.size();
        return;
    }
}

void TMetarDecoder::DecodeTemperatureGroup(std::string_view group, TDecodeState& state) {
    if (state.TemperatureDone || !match_->Match(Patterns().Temperature, group))
        return;
    TWeatherInfo& record = state.Record;
    record.Temperature = SignedFigure(match_->Group(1), match_->Group(2));
    record.DewPoint = SignedFigure(match_->Group(3), match_->Group(4));
    state.TemperatureDone = true;
    state.WeatherDone = true;
}

void TMetarDecoder::DecodePressureGroup(std::string_view group, TDecodeState& state) {
    if (state.PressureDone || !match_->Match(Patterns().Pressure, group))
        return;
    TWeatherInfo& record = state.Record;
    const double figure = Figure(match_->Group(2));
    record.Pressure = match_->Group(1) == "A" ? figure * InchHundredthsToHpa : figure;
    state.PressureDone = true;
}

} // namespace nimbrel
