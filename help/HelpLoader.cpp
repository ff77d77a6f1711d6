#include "help/HelpLoader.h"

#include "base/TextTime.h"
#include "log/MessageLog.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace nimbrel {

namespace {

constexpr std::string_view SystemRootVariable = "%SystemRoot%";

bool IsFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

} // namespace

std::string HelpFileMissingMessage(const std::string& fileName) {
    return "The help file '" + fileName + "' could not be found.";
}

std::optional<std::string> FindHelpFile(const std::string& executableFolder) {
    const std::filesystem::path folder(executableFolder);
    std::vector<std::filesystem::path> candidates = {folder / HelpFileName};
#ifndef _WIN32
    candidates.push_back(folder / ".." / "share" / "nimbrel" / HelpFileName);
#endif
    for (const std::filesystem::path& candidate : candidates) {
        if (IsFile(candidate)) {
            return candidate.lexically_normal().string();
        }
    }
    return std::nullopt;
}

std::string WithoutTrailingBackslash(std::string folder) {
    if (!folder.empty() && folder.back() == '\\') {
        folder.pop_back();
    }
    return folder;
}

std::string ExpandSystemRoot(const std::string& path, const std::string& windowsFolder) {
    const std::string_view head = std::string_view(path).substr(0, SystemRootVariable.size());
    if (head.size() < SystemRootVariable.size() || !EqualsIgnoringCase(head, SystemRootVariable)) {
        return path;
    }
    return WithoutTrailingBackslash(windowsFolder) + path.substr(SystemRootVariable.size());
}

void ShowHelp(const std::string& executableFolder, HelpActions& actions) {
    const std::optional<std::string> helpFile = FindHelpFile(executableFolder);
    if (!helpFile) {
        actions.ShowWarning(HelpFileMissingMessage(HelpFileName));
        return;
    }
    if (!actions.OpenHelpFile(*helpFile)) {
        actions.AddLogMessage(LogError, HelpViewErrorMessage);
    }
}

#ifdef _WIN32

namespace {

constexpr const char* HtmlHelpLibraryName = "hhctrl.ocx";
constexpr const char* HtmlHelpClassKey =
    "CLSID\\{adb880a6-d8ff-11cf-9377-00aa003b7a11}\\InprocServer32";
constexpr UINT HH_DISPLAY_TOPIC = 0;

std::string WindowsFolder() {
    char buffer[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryA(buffer, MAX_PATH);
    return WithoutTrailingBackslash(length > 0 && length < MAX_PATH ? buffer : "");
}

std::string SystemFolder() {
    char buffer[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(buffer, MAX_PATH);
    return WithoutTrailingBackslash(length > 0 && length < MAX_PATH ? buffer : "");
}

// The default value of the control's class registration, or empty.
std::string RegisteredHtmlHelpPath() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, HtmlHelpClassKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return {};
    }
    char buffer[MAX_PATH] = {};
    DWORD size = sizeof buffer - 1; // room for a terminator the registry may not have stored
    DWORD type = 0;
    const LONG result =
        RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    const bool isText = type == REG_SZ || type == REG_EXPAND_SZ;
    return result == ERROR_SUCCESS && isText ? std::string(buffer) : std::string();
}

template <typename Function> Function EntryPoint(void* library, const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name)));
}

} // namespace

std::string ExpandSystemRoot(const std::string& path) {
    return ExpandSystemRoot(path, WindowsFolder());
}

std::string FindHtmlHelpLibrary() {
    std::string path = ExpandSystemRoot(RegisteredHtmlHelpPath());
    if (!path.empty() && !IsFile(path)) {
        path.clear();
    }
    if (path.empty()) {
        path = SystemFolder() + "\\" + HtmlHelpLibraryName;
    }
    return path;
}

void THtmlHelp::LoadHtmlHelp() {
    if (library_ != nullptr) {
        return;
    }
    library_ = LoadLibraryA(HtmlHelpLibraryName);
    if (library_ == nullptr) {
        const std::string path = FindHtmlHelpLibrary();
        if (!path.empty() && IsFile(path)) {
            library_ = LoadLibraryA(path.c_str());
        }
    }
    if (library_ != nullptr) {
        htmlHelp_ = EntryPoint<HtmlHelpAFunction>(library_, "HtmlHelpA");
    }
}

void THtmlHelp::UnloadHtmlHelp() {
    if (library_ == nullptr) {
        return;
    }
    FreeLibrary(static_cast<HMODULE>(library_));
    library_ = nullptr;
    htmlHelp_ = nullptr;
}

bool THtmlHelp::DisplayTopic(const std::string& helpFilePath) const {
    if (htmlHelp_ == nullptr) {
        return false;
    }
    return htmlHelp_(GetDesktopWindow(), helpFilePath.c_str(), HH_DISPLAY_TOPIC, 0) != nullptr;
}

#endif

} // namespace nimbrel
