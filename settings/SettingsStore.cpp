#include "settings/SettingsStore.h"

#include "base/TextTime.h"
#include "settings/Autostart.h"
#include "settings/IniFile.h"
#include "settings/ProgramPath.h"

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string_view>
#include <tuple>

namespace nimbrel {

namespace {

namespace fs = std::filesystem;

// Written on every save for older readers of the file; never read back.
constexpr const char* AppVersion = "1.6";

struct BoolKey {
    const char* Key;
    bool TSettings::*Field;
};

// The order in which a save writes them.
constexpr BoolKey BoolKeys[] = {
    {"AdvancedWeatherReport", &TSettings::AdvancedWeatherReport},
    {"DisableBalloonMessages", &TSettings::DisableBalloonMessages},
    {"GetWeatherReportOnStartup", &TSettings::GetWeatherReportOnStartup},
    {"ShowLocationCode", &TSettings::ShowLocationCode},
    {"MinimizeOnStartup", &TSettings::MinimizeOnStartup},
    {"StartAutomaticallyByWindows", &TSettings::StartAutomaticallyByWindows},
    {"TabbedView", &TSettings::TabbedView},
    {"Use24HourClock", &TSettings::Use24HourClock},
    {"UseCelsius", &TSettings::UseCelsius},
    {"UseMetricValues", &TSettings::UseMetricValues},
    {"FtpActiveMode", &TSettings::FtpActiveMode},
};

// Keys that came later are written after all the others, so a file that had none of them keeps
// its order and only grows at the end.
constexpr BoolKey LaterBoolKeys[] = {
    {"UseHttps", &TSettings::UseHttps},
};

struct IntKey {
    const char* Key;
    int TSettings::*Field;
};

constexpr IntKey IntKeys[] = {
    {"LongReconnectInterval", &TSettings::LongReconnectInterval},
    {"DelayGetWeaterOnStartup", &TSettings::DelayGetWeaterOnStartup},
};

struct SlotKey {
    const char* Prefix;
    std::string LocationSlot::*Field;
};

constexpr SlotKey SlotKeys[] = {
    {"LocationCode", &LocationSlot::LocationCode},
    {"LocationName", &LocationSlot::LocationName},
    {"LocationTimeZoneOffset", &LocationSlot::LocationTimeZoneOffset},
};

constexpr SlotKey LaterSlotKeys[] = {
    {"LocationTimeZone", &LocationSlot::LocationTimeZone},
};

std::string SlotKeyName(const SlotKey& slotKey, int number) {
    return slotKey.Prefix + std::to_string(number);
}

// The values of the settings' keys, found in one pass over the section: a hand-edited file of
// millions of lines is read once, not once per key. First key of a name wins, as in TIniFile.
class TPreferencesValues {
public:
    explicit TPreferencesValues(const TIniFile& ini);
    std::optional<std::string> Find(const std::string& key) const {
        const auto found = values_.find(key);
        return found == values_.end() ? std::nullopt : std::optional(found->second);
    }

private:
    std::map<std::string, std::string> values_; // by the key's name as the program spells it
};

std::optional<int> ReadNumber(const TPreferencesValues& ini, const char* key) {
    const auto text = ini.Find(key);
    return text ? ParseWholeNumber(*text) : std::nullopt;
}

template <std::size_t Count>
void ReadSlotTexts(const TPreferencesValues& ini, const SlotKey (&keys)[Count],
                   TSettings& settings) {
    for (const SlotKey& slotKey : keys) {
        for (int number = 1; number <= LocationSlotCount; ++number) {
            std::string& field = settings.Slot(number).*slotKey.Field;
            field = ini.Find(SlotKeyName(slotKey, number)).value_or(field);
        }
    }
}

template <std::size_t Count>
void AppendSlotTexts(const TSettings& settings, const SlotKey (&keys)[Count],
                     std::vector<std::pair<std::string, std::string>>& values) {
    for (const SlotKey& slotKey : keys) {
        for (int number = 1; number <= LocationSlotCount; ++number) {
            values.emplace_back(SlotKeyName(slotKey, number), settings.Slot(number).*slotKey.Field);
        }
    }
}

template <std::size_t Count>
void ReadBools(const TPreferencesValues& ini, const BoolKey (&keys)[Count], TSettings& settings) {
    for (const BoolKey& entry : keys) {
        if (const auto number = ReadNumber(ini, entry.Key)) {
            settings.*entry.Field = *number != 0;
        }
    }
}

std::string NonEmptyOr(const char* value, const std::string& fallback) {
    return value != nullptr && *value != '\0' ? std::string(value) : fallback;
}

} // namespace

SettingsWriteError::SettingsWriteError(const std::string& path)
    : std::runtime_error("Unable to write to " + path) {}

bool SettingsFileMissing(const std::string& path) {
    std::error_code error;
    return fs::status(NarrowToPath(path), error).type() == fs::file_type::not_found;
}

TPreferencesValues::TPreferencesValues(const TIniFile& ini) {
    const auto names = SettingsKeyValues(TSettings());
    ini.ForEachInSection(SettingsSection, [&](std::string_view key, std::string_view value) {
        for (const auto& [name, unused] : names) {
            if (EqualsIgnoringCase(key, name)) {
                values_.try_emplace(name, value);
                return;
            }
        }
    });
}

TSettings LoadSettings(const std::string& path) {
    TSettings settings;
    if (SettingsFileMissing(path)) {
        settings.Slot(1).LocationTimeZone = DefaultPrimaryTimeZone;
        return settings;
    }
    const TPreferencesValues ini(TIniFile::Load(path));
    ReadBools(ini, BoolKeys, settings);
    ReadBools(ini, LaterBoolKeys, settings);
    for (const IntKey& entry : IntKeys) {
        settings.*entry.Field = ReadNumber(ini, entry.Key).value_or(settings.*entry.Field);
    }
    ReadSlotTexts(ini, SlotKeys, settings);
    ReadSlotTexts(ini, LaterSlotKeys, settings);
    return settings;
}

std::vector<std::pair<std::string, std::string>> SettingsKeyValues(const TSettings& settings) {
    std::vector<std::pair<std::string, std::string>> values;
    values.emplace_back("AppVersion", AppVersion);
    for (const BoolKey& entry : BoolKeys) {
        values.emplace_back(entry.Key, settings.*entry.Field ? "1" : "0");
    }
    for (const IntKey& entry : IntKeys) {
        values.emplace_back(entry.Key, std::to_string(settings.*entry.Field));
    }
    AppendSlotTexts(settings, SlotKeys, values);
    for (const BoolKey& entry : LaterBoolKeys) {
        values.emplace_back(entry.Key, settings.*entry.Field ? "1" : "0");
    }
    AppendSlotTexts(settings, LaterSlotKeys, values);
    return values;
}

namespace {

void WriteSettings(const TSettings& settings, TIniFile& ini) {
    for (const auto& [key, value] : SettingsKeyValues(settings)) {
        ini.WriteString(SettingsSection, key, value);
    }
}

} // namespace

std::string SettingsFileText(const TSettings& settings) {
    TIniFile ini;
    WriteSettings(settings, ini);
    return ini.Text();
}

void SaveSettings(const TSettings& settings, const std::string& path) {
    try {
        // Starting from the file as it is keeps the user's own lines and sections; the update
        // holds off other saves so none of them loses what this one read.
        TIniFile::Update(path, [&settings](TIniFile& ini) { WriteSettings(settings, ini); });
    } catch (const IniFileError&) {
        std::error_code error;
        throw SettingsWriteError(PathToNarrow(fs::absolute(NarrowToPath(path), error)));
    }
}

bool SaveSettingsAndAutostart(const TSettings& settings, const std::string& path,
                              const std::string& executablePath,
                              const std::function<void(const std::string&)>& warn) {
    SaveSettings(settings, path);
    const bool enable = settings.StartAutomaticallyByWindows;
    if (const auto refusal = AutostartRefusal(executablePath); enable && refusal && warn) {
        warn(*refusal);
    }
    return SetAutostart(ProductName, executablePath, enable);
}

std::string UserConfigFolder() {
    const char* home = std::getenv("HOME");
    const std::string fallback = NonEmptyOr(home, ".") + "/.config";
    const std::string configured = NonEmptyOr(std::getenv("XDG_CONFIG_HOME"), fallback);
    // Desktop conventions ignore a relative XDG_CONFIG_HOME.
    return fs::path(configured).is_absolute() ? configured : fallback;
}

std::string SettingsFilePath() {
    const std::string appData = NonEmptyOr(std::getenv("APPDATA"), "");
    if (!appData.empty()) {
        std::error_code error;
        return PathToNarrow(fs::absolute(NarrowToPath(appData) / SettingsFileName, error));
    }
#ifdef _WIN32
    return SettingsFileName;
#else
    return (fs::path(UserConfigFolder()) / SettingsFileName).string();
#endif
}

} // namespace nimbrel
