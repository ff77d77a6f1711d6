#include "settings/Autostart.h"

#ifdef _WIN32
#include <memory>
#include <type_traits>
#include <windows.h>
#else
#include "settings/IniFile.h"
#include "settings/SettingsStore.h"

#include <filesystem>
#include <string_view>
#endif

namespace nimbrel {

#ifdef _WIN32

namespace {

constexpr const char* RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

struct KeyCloser {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
using UniqueKey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

} // namespace

bool SetAutostart(const std::string& valueName, const std::string& data, bool enable) {
    if (valueName.empty() && data.empty()) {
        return false;
    }
    HKEY opened = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, RunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const UniqueKey key(opened);
    if (!enable) {
        RegDeleteValueA(key.get(), valueName.c_str()); // a value that is not there is gone too
        return true;
    }
    return RegSetValueExA(key.get(), valueName.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
}

#else

namespace {

namespace fs = std::filesystem;

constexpr const char* DesktopEntry = "Desktop Entry";

// The program path as one argument of an Exec line: quoted when it holds characters the
// launcher would otherwise split or interpret, "%" doubled so it is no field code, and
// backslashes doubled once more because the whole line is an escaped string.
std::string ExecArgument(const std::string& program) {
    constexpr std::string_view Reserved = " \t\"'\\><~|&;$*?#()`";
    const bool quoted = program.find_first_of(Reserved) != std::string::npos;
    std::string argument = quoted ? "\"" : "";
    for (const char c : program) {
        if (quoted && (c == '"' || c == '`' || c == '$' || c == '\\')) {
            argument += '\\';
        }
        argument += c == '%' ? "%%" : std::string(1, c);
    }
    argument += quoted ? "\"" : "";
    std::string escaped;
    for (const char c : argument) {
        escaped += c == '\\' ? "\\\\" : std::string(1, c);
    }
    return escaped;
}

// The entry's name becomes a file name: nothing that leaves the autostart folder.
bool IsPlainFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\r\n") == std::string::npos;
}

void OverrideIfPresent(TIniFile& file, const char* key, const char* value) {
    if (file.ReadString(DesktopEntry, key)) {
        file.WriteString(DesktopEntry, key, value);
    }
}

} // namespace

bool SetAutostart(const std::string& valueName, const std::string& data, bool enable) {
    const bool runnable = !data.empty() && data.find_first_of("\r\n") == std::string::npos;
    if (!IsPlainFileName(valueName) || (enable && !runnable)) {
        return false;
    }
    const fs::path entry = fs::path(UserConfigFolder()) / "autostart" / (valueName + ".desktop");
    std::error_code error;
    if (!enable) {
        fs::remove(entry, error);
        return !error;
    }
    try {
        // Updating the entry in place keeps what the user or the desktop added to it.
        TIniFile file = TIniFile::Load(entry.string());
        file.WriteString(DesktopEntry, "Type", "Application");
        file.WriteString(DesktopEntry, "Name", valueName);
        file.WriteString(DesktopEntry, "Exec", ExecArgument(data));
        file.WriteString(DesktopEntry, "Terminal", "false");
        // A desktop's own switch left off in the entry would silently overrule the setting.
        OverrideIfPresent(file, "Hidden", "false");
        OverrideIfPresent(file, "X-GNOME-Autostart-enabled", "true");
        file.Save(entry.string());
        return true;
    } catch (const IniFileError&) {
        return false;
    }
}

#endif

} // namespace nimbrel
