#pragma once
// Who the program is: its name, and what the desktop shows for it. The autostart entry and the
// window carry these texts; the build defines them from the same values it writes into the
// installed desktop entry.
namespace nimbrel {

inline constexpr const char* ProductName = NIMBREL_DISPLAY_NAME;
inline constexpr const char* ApplicationId = NIMBREL_APP_ID;
inline constexpr const char* DesktopEntryGenericName = NIMBREL_GENERIC_NAME;
inline constexpr const char* DesktopEntryComment = NIMBREL_COMMENT;

} // namespace nimbrel
