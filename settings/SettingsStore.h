#pragma once
// Reading and writing the settings file (Nimbrel.ini, section "Preferences").
#include "base/Product.h"
#include "settings/Settings.h"

#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace nimbrel {

inline constexpr const char* SettingsFileName = "Nimbrel.ini";
inline constexpr const char* SettingsSection = "Preferences";

// what() is "Unable to write to " + the settings file's full path.
struct SettingsWriteError : std::runtime_error {
    explicit SettingsWriteError(const std::string& path);
};

// True only when nothing is at path: a path that cannot be examined (a link loop, a folder that
// cannot be searched) may well hold the user's settings, which a first run would not respect.
bool SettingsFileMissing(const std::string& path);

// A missing file or missing keys give the defaults. Throws IniFileError (settings/IniFile.h)
// when the file exists but cannot be read or is too large to be a settings file.
TSettings LoadSettings(const std::string& path);

// Every key, in the order SaveSettings writes them, with the texts it writes.
std::vector<std::pair<std::string, std::string>> SettingsKeyValues(const TSettings& settings);

// The text a save of these settings writes into a new file.
std::string SettingsFileText(const TSettings& settings);

// Rewrites every key, keeping all other lines of the file. The file is replaced in one step, so
// on SettingsWriteError the old file is still whole.
void SaveSettings(const TSettings& settings, const std::string& path);

// Saves, then brings the autostart entry in line with StartAutomaticallyByWindows (the order
// matters: a failed save leaves the entry alone). Returns SetAutostart's result. An entry that
// cannot be written for this program's path is reported through warn (a log line's text).
bool SaveSettingsAndAutostart(const TSettings& settings, const std::string& path,
                              const std::string& executablePath,
                              const std::function<void(const std::string&)>& warn = {});

// Where the settings file lives: APPDATA/Nimbrel.ini (absolute) when APPDATA is set and not
// empty; otherwise "Nimbrel.ini" on Windows and $XDG_CONFIG_HOME/Nimbrel.ini elsewhere.
std::string SettingsFilePath();

// The user's configuration folder on Linux: $XDG_CONFIG_HOME, else $HOME/.config.
std::string UserConfigFolder();

} // namespace nimbrel
