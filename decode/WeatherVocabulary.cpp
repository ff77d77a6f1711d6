#include "decode/WeatherVocabulary.h"

#include "decode/Figures.h"

#include <array>

namespace nimbrel {

namespace {

// WeatherClass is left as it is by a code with this class.
constexpr int Unchanged = -1;

enum class TFlag { None, Showers, Thunder };

struct TCode {
    std::string_view Code;
    std::string_view Phrase;
    int Class;
    TFlag Flag = TFlag::None;
};

// Only the first descriptor found counts.
constexpr std::array<TCode, 8> Descriptors{{
    {"MI", " Shallow", Unchanged},
    {"PR", " Partial", Unchanged},
    {"BC", " Patches", Unchanged},
    {"DR", " Low Drifting", Unchanged},
    {"BL", " Blowing", Unchanged},
    {"SH", "", 4, TFlag::Showers},
    {"TS", "", 2, TFlag::Thunder},
    {"FZ", " Freezing", Unchanged},
}};

// Every precipitation code found adds its part, in this order whatever the report's order.
constexpr std::array<TCode, 9> Precipitations{{
    {"DZ", " Drizzle", 3},
    {"RA", " Rain", 4},
    {"SN", " Snow", 6},
    {"SG", " Snow Grains", 6},
    {"IC", " Ice Crystals", 8},
    {"PE", " Ice Pellets", 8},
    {"GR", " Hail", 8},
    {"GS", " Small Hail Pellets", 8},
    {"UP", " Unknown", Unchanged},
}};

// Only the first obscuration or other phenomenon found counts.
constexpr std::array<TCode, 13> Obscurations{{
    {"BR", " Mist", 10},
    {"FG", " Fog", 11},
    {"FU", " Smoke", Unchanged},
    {"VA", " Volcanic Ash", Unchanged},
    {"DU", " Widespread Dust", Unchanged},
    {"SA", " Sand", Unchanged},
    {"HZ", " Haze", 12},
    {"PY", " Spray", Unchanged},
    {"PO", " Dust/Sand Swirls", Unchanged},
    {"SQ", " Sudden Winds", Unchanged},
    {"FC", " Funnel Cloud", Unchanged},
    {"SS", " Sand Storm", Unchanged},
    {"DS", " Dust Storm", Unchanged},
}};

constexpr int MixedClass = 9;
constexpr std::array<std::string_view, 4> MixedCodes{"RASN", "SNRA", "PE", "PL"};
constexpr std::array<std::string_view, 2> FreezingCodes{"FZDZ", "FZRA"};

struct TSector {
    int From;
    int To;
    int Index;
};

// Inclusive bounds in degrees; north spans both ends of the circle.
constexpr std::array<TSector, 17> Sectors{{
    {0, 11, 0},
    {12, 32, 1},
    {33, 56, 2},
    {57, 78, 3},
    {79, 101, 4},
    {102, 123, 5},
    {124, 146, 6},
    {147, 168, 7},
    {169, 191, 8},
    {192, 213, 9},
    {214, 236, 10},
    {237, 258, 11},
    {259, 281, 12},
    {282, 303, 13},
    {304, 326, 14},
    {327, 348, 15},
    {349, 360, 0},
}};

constexpr std::array<std::string_view, 16> CompassTexts{"N",  "N-NE", "NE", "E-NE", "E",  "E-SE",
                                                        "SE", "S-SE", "S",  "S-SW", "SW", "W-SW",
                                                        "W",  "W-NW", "NW", "N-NW"};

constexpr int VariableIndex = 16;
constexpr int CalmIndex = 17;

struct TCloudAmount {
    std::string_view Cover;
    int Amount;
};

constexpr std::array<TCloudAmount, 4> CloudAmounts{
    {{"FEW", 2}, {"SCT", 3}, {"BKN", 8}, {"OVC", 16}}};
constexpr std::array<std::string_view, 3> ClearCovers{"SKC", "CLR", "CAVOK"};
constexpr double ClearVisibility = 9999;

struct TSkyBand {
    int From;
    int To;
    std::string_view Phrase;
};

constexpr std::array<TSkyBand, 5> SkyBands{{
    {0, 0, "Clear sky"},
    {1, 2, "Mostly clear"},
    {3, 6, "Partly cloudy"},
    {7, 15, "Mostly cloudy"},
    {16, 999, "Overcast"},
}};

// Upper bounds (inclusive) of thermometer bands 0..8; anything warmer is band 9.
constexpr std::array<double, 9> TemperatureBandTops{-21, -14, -7, 0, 7, 14, 21, 28, 35};

// Picture 21 (a thunderstorm by day) is the one drawn with the sun, 22 the one without.
constexpr std::array<int, 23> ConditionPictures{26, 2,  3,  4,  8,  9,  10, 11, 12, 13, 14, 15,
                                                16, 17, 18, 19, 20, 25, 25, 21, 22, 0,  24};
static_assert(ConditionPictures[NoDataCondition] == NoDataWeatherPicture);

bool Contains(std::string_view letters, std::string_view code) {
    return letters.find(code) != std::string_view::npos;
}

template <std::size_t N>
bool ContainsAny(std::string_view letters, const std::array<std::string_view, N>& codes) {
    for (const std::string_view code : codes)
        if (Contains(letters, code))
            return true;
    return false;
}

void Apply(const TCode& code, std::string& phrase, TWeatherInfo& record, TWeatherFlags& flags) {
    phrase += code.Phrase;
    if (code.Class != Unchanged)
        record.WeatherClass = static_cast<uint8_t>(code.Class);
    if (code.Flag == TFlag::Showers)
        flags.Showers = true;
    if (code.Flag == TFlag::Thunder)
        flags.Thunder = true;
}

template <std::size_t N>
const TCode* FirstFound(std::string_view letters, const std::array<TCode, N>& table) {
    for (const TCode& code : table)
        if (Contains(letters, code.Code))
            return &code;
    return nullptr;
}

std::string IntensityPart(std::string_view intensity, TWeatherFlags& flags) {
    if (intensity == "+") {
        flags.Heavy = true;
        return "Heavy";
    }
    if (intensity == "-")
        return "Light";
    return {};
}

void AddObscuration(std::string_view intensity, std::string_view letters, std::string& phrase,
                    TWeatherInfo& record, TWeatherFlags& flags) {
    const TCode* code = FirstFound(letters, Obscurations);
    if (code == nullptr)
        return;
    if (code->Code == "FC" && intensity == "+")
        phrase = "Tornado";
    else
        Apply(*code, phrase, record, flags);
}

} // namespace

std::string WeatherPhrase(std::string_view intensity, std::string_view letters,
                          TWeatherInfo& record, TWeatherFlags& flags) {
    std::string phrase = IntensityPart(intensity, flags);
    if (const TCode* descriptor = FirstFound(letters, Descriptors))
        Apply(*descriptor, phrase, record, flags);
    for (const TCode& precipitation : Precipitations)
        if (Contains(letters, precipitation.Code))
            Apply(precipitation, phrase, record, flags);
    if (flags.Showers)
        phrase += " Showers";
    else if (flags.Thunder)
        phrase += " Thunder Storm";
    if (ContainsAny(letters, MixedCodes) || ContainsAny(letters, FreezingCodes))
        record.WeatherClass = MixedClass;
    AddObscuration(intensity, letters, phrase, record, flags);
    return phrase;
}

void DetermineWindDirection(TWeatherInfo& record, std::string_view direction) {
    const bool moving = record.WindSpeed > 0;
    if (direction != "VRB" && moving) {
        const int degrees = ToInteger(direction);
        for (const TSector& sector : Sectors)
            if (degrees >= sector.From && degrees <= sector.To) {
                record.WindDirection = CompassTexts[sector.Index];
                record.WindDirectionIndex = sector.Index;
                return;
            }
    } else if (direction == "VRB" && moving) {
        record.WindDirection = "variable";
        record.WindDirectionIndex = VariableIndex;
    } else if (direction == "000" && record.WindSpeed == 0) {
        record.WindDirection = "Calm";
        record.WindDirectionIndex = CalmIndex;
    }
}

void AddCloudAmount(TWeatherInfo& record, std::string_view cover) {
    for (const TCloudAmount& amount : CloudAmounts)
        if (cover == amount.Cover)
            record.CloudCover += amount.Amount;
    for (const std::string_view clear : ClearCovers)
        if (cover == clear) {
            // A clear sky stands for unrestricted visibility, whatever came before it.
            record.CloudCover = 0;
            record.Visibility = ClearVisibility;
        }
}

void DetermineCondition(TWeatherInfo& record, bool daytime, const TWeatherFlags& flags) {
    auto set = [&record](int condition) { record.Condition = static_cast<uint8_t>(condition); };
    const int cover = record.CloudCover;
    if (record.WeatherClass == 0) {
        if (cover == 0)
            set(daytime ? 1 : 0);
        else if (cover >= 1 && cover <= 14)
            set(daytime ? 3 : 2);
        else
            set(4);
    }
    const bool sunnyShowers = daytime && flags.Showers;
    if (flags.Thunder) {
        set(daytime ? 19 : 20);
        return;
    }
    switch (record.WeatherClass) {
    case 3:
        set(daytime ? 6 : 5);
        break;
    case 4:
        set(flags.Showers ? 6 : 5);
        if (flags.Heavy)
            set(sunnyShowers ? 8 : 7);
        break;
    case 6:
        set(flags.Showers ? 14 : 13);
        if (flags.Heavy)
            set(sunnyShowers ? 16 : 15);
        break;
    case 8:
        set(sunnyShowers ? 12 : 11);
        break;
    case 9:
        set(sunnyShowers ? 10 : 9);
        break;
    case 10:
        set(17);
        break;
    case 11:
        set(18);
        break;
    case 12:
        set(21);
        break;
    default:
        break;
    }
}

void DetermineTemperatureIndex(TWeatherInfo& record) {
    int band = 0;
    while (band < static_cast<int>(TemperatureBandTops.size()) &&
           record.Temperature > TemperatureBandTops[static_cast<std::size_t>(band)])
        ++band;
    record.TemperatureIndex = band;
}

void DetermineSkyCondition(TWeatherInfo& record) {
    for (const TSkyBand& band : SkyBands)
        if (record.CloudCover >= band.From && record.CloudCover <= band.To) {
            record.SkyCondition = band.Phrase;
            return;
        }
    record.SkyCondition.clear();
}

int WeatherImageIndex(int condition) {
    if (condition < 0 || condition >= static_cast<int>(ConditionPictures.size()))
        return NoDataWeatherPicture;
    return ConditionPictures[static_cast<std::size_t>(condition)];
}

} // namespace nimbrel
