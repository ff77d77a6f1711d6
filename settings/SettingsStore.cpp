#include "settings/SettingsStore.h"

#include "settings/Autostart.h"
#include "settings/IniFile.h"
#include "settings/ProgramPath.h"

#include <cstdlib>
#include <filesystem>
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

constexpr int SlotCount = static_cast<int>(std::tuple_size_v<decltype(TSettings::Slots)>);

std::string SlotKeyName(const SlotKey& slotKey, int number) {
    return slotKey.Prefix + std::to_string(number);
}

std::optional<int> ReadNumber(const TIniFile& ini, const char* key) {
    const auto text = ini.ReadString(SettingsSection, key);
    return text ? ParseWholeNumber(*text) : std::nullopt;
}

std::string NonEmptyOr(const char* value, const std::string& fallback) {
    return value != nullptr && *value != '\0' ? std::string(value) : fallback;
}

} // namespace

SettingsWriteError::SettingsWriteError(const std::string& path)
    : std::runtime_error("Unable to write to " + path) {}

TSettings LoadSettings(const std::string& path) {
    const TIniFile ini = TIniFile::Load(path);
    TSettings settings;
    for (const BoolKey& entry : BoolKeys) {
        if (const auto number = ReadNumber(ini, entry.Key)) {
            settings.*entry.Field = *number != 0;
        }
    }
    for (const IntKey& entry : IntKeys) {
        settings.*entry.Field = ReadNumber(ini, entry.Key).value_or(settings.*entry.Field);
    }
    for (const SlotKey& slotKey : SlotKeys) {
        for (int number = 1; number <= SlotCount; ++number) {
            std::string& field = settings.Slot(number).*slotKey.Field;
            field = ini.ReadString(SettingsSection, SlotKeyName(slotKey, number)).value_or(field);
        }
    }
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
    for (const SlotKey& slotKey : SlotKeys) {
        for (int number = 1; number <= SlotCount; ++number) {
            values.emplace_back(SlotKeyName(slotKey, number), settings.Slot(number).*slotKey.Field);
        }
    }
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
        // Starting from the file as it is keeps the user's own lines and sections.
        TIniFile ini = TIniFile::Load(path);
        WriteSettings(settings, ini);
        ini.Save(path);
    } catch (const IniFileError&) {
        std::error_code error;
        throw SettingsWriteError(fs::absolute(path, error).string());
    }
}

bool SaveSettingsAndAutostart(const TSettings& settings, const std::string& path,
                              const std::string& executablePath) {
    SaveSettings(settings, path);
    return SetAutostart(ProductName, executablePath, settings.StartAutomaticallyByWindows);
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
