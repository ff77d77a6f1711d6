#include "settings/Autostart.h"

#include "base/TextTime.h"

#include <cstddef>
#include <string_view>

#ifdef _WIN32
#include <memory>
#include <type_traits>
#include <windows.h>
#else
#include "base/Product.h"
#include "settings/IniFile.h"
#include "settings/SettingsStore.h"

#include <algorithm>
#include <filesystem>
#endif

namespace nimbrel {

namespace {

// The group every desktop entry keeps its keys in.
constexpr const char* DesktopEntryGroup = "Desktop Entry";

} // namespace

std::optional<std::string> AutostartRefusal(const std::string& data) {
#ifdef _WIN32
    // The Run key holds the path in the system's ANSI code page, whatever its characters.
    static_cast<void>(data);
#else
    // A desktop entry is UTF-8 text: a path that is not cannot be written into one.
    if (!IsValidUtf8(data)) {
        return std::string(AutostartInvalidPathMessage);
    }
#endif
    return std::nullopt;
}

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

bool IsControl(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

// One argument of an Exec line: quoted when it holds characters the launcher would otherwise
// split or interpret, "%" doubled so it is no field code, and backslashes doubled once more
// because the whole line is an escaped string.
std::string ExecArgument(std::string_view argument) {
    constexpr std::string_view Reserved = " \t\"'\\><~|&;$*?#()`";
    const bool quoted = argument.find_first_of(Reserved) != std::string_view::npos;
    std::string quotedArgument = quoted ? "\"" : "";
    for (const char c : argument) {
        if (quoted && (c == '"' || c == '`' || c == '$' || c == '\\')) {
            quotedArgument += '\\';
        }
        quotedArgument += c == '%' ? "%%" : std::string(1, c);
    }
    quotedArgument += quoted ? "\"" : "";
    std::string escaped;
    for (const char c : quotedArgument) {
        escaped += c == '\\' ? "\\\\" : std::string(1, c);
    }
    return escaped;
}

// A desktop entry cannot hold a control character in any form, so a program path with one is
// started through the shell, which rebuilds the path from octal escapes given to printf (the
// "_" keeps a final line break from being cut by the command substitution).
std::string ShellStartOf(std::string_view program) {
    std::string format;
    for (const char c : program) {
        if (IsControl(c) || c == '\\') {
            constexpr std::string_view Digits = "01234567";
            const auto code = static_cast<unsigned char>(c);
            format.append({'\\', Digits[code >> 6], Digits[(code >> 3) & 7], Digits[code & 7]});
        } else if (c == '%') {
            format += "%%";
        } else if (c == '\'') {
            format += "'\\''";
        } else {
            format += c;
        }
    }
    return "p=\"$(printf '" + format + "_')\"; exec \"${p%_}\"";
}

std::string ExecLine(const std::string& program) {
    if (std::none_of(program.begin(), program.end(), IsControl)) {
        return ExecArgument(program);
    }
    return ExecArgument("sh") + " " + ExecArgument("-c") + " " +
           ExecArgument(ShellStartOf(program));
}

// The entry's name becomes a file name: nothing that leaves the autostart folder.
bool IsPlainFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\r\n") == std::string::npos;
}

void OverrideIfPresent(TIniFile& file, const char* key, const char* value) {
    if (file.ReadString(DesktopEntryGroup, key)) {
        file.WriteString(DesktopEntryGroup, key, value);
    }
}

void WriteEntry(TIniFile& file, const std::string& data) {
    file.WriteString(DesktopEntryGroup, "Type", "Application");
    file.WriteString(DesktopEntryGroup, "Name", ProductName);
    file.WriteString(DesktopEntryGroup, "GenericName", DesktopEntryGenericName);
    file.WriteString(DesktopEntryGroup, "Comment", DesktopEntryComment);
    file.WriteString(DesktopEntryGroup, "Icon", ApplicationId);
    file.WriteString(DesktopEntryGroup, "Exec", ExecLine(data));
    file.WriteString(DesktopEntryGroup, "Terminal", "false");
    // A desktop's own switch left off in the entry would silently overrule the setting.
    OverrideIfPresent(file, "Hidden", "false");
    OverrideIfPresent(file, "X-GNOME-Autostart-enabled", "true");
}

} // namespace

bool SetAutostart(const std::string& valueName, const std::string& data, bool enable) {
    if (!IsPlainFileName(valueName) || (enable && (data.empty() || AutostartRefusal(data)))) {
        return false;
    }
    const fs::path entry = fs::path(UserConfigFolder()) / "autostart" / (valueName + ".desktop");
    std::error_code error;
    if (!enable) {
        fs::remove(entry, error);
        return !error;
    }
    try {
        // Updating the entry in place keeps what the user or the desktop added to it; a link in
        // its place is replaced, so the save never writes to a file elsewhere.
        TIniFile::Update(
            entry.string(), [&data](TIniFile& file) { WriteEntry(file, data); },
            SymlinkAtPath::Replace);
        return true;
    } catch (const IniFileError&) {
        return false;
    }
}

#endif

} // namespace nimbrel
