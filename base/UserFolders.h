#pragma once
// The user's folders for what the program keeps, by the desktop's conventions.
#include <filesystem>

namespace nimbrel {

// The folder an XDG base-directory variable names (XDG_DATA_HOME, XDG_CACHE_HOME), or the
// conventional one under the home folder when it is unset or relative, as the conventions ask:
// $XDG_CACHE_HOME, else ~/.cache. Empty when neither is known.
std::filesystem::path XdgFolder(const char* variable, const char* underHome);

// The folder a Windows environment variable names (APPDATA, LOCALAPPDATA); empty when unset.
std::filesystem::path WindowsFolder(const char* variable);

} // namespace nimbrel
