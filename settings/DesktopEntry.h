#pragma once
// What the desktop shows for the program: the autostart entry carries these texts, and the
// installed desktop entry is generated from the same values.
namespace nimbrel {

inline constexpr const char* ApplicationId = "org.nimbrel.Nimbrel";
inline constexpr const char* DesktopEntryName = "Nimbrel";
inline constexpr const char* DesktopEntryGenericName = "Weather Monitor";
inline constexpr const char* DesktopEntryComment =
    "Latest weather reports of up to five stations in the notification area";
// The group every desktop entry keeps its keys in.
inline constexpr const char* DesktopEntryGroup = "Desktop Entry";

} // namespace nimbrel
