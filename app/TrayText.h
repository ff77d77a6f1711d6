#pragma once
// What the tray shows of the texts the refresh cycle builds: the notification area keeps only a
// bounded tip, balloon title and balloon text.
#include <string>

namespace nimbrel {

inline constexpr int TrayTipLength = 127;
inline constexpr int BalloonTitleLength = 63;
inline constexpr int BalloonTextLength = 255;

inline constexpr int BalloonTimeoutSeconds = 30;
// A balloon is taken down this long after it was shown, whatever the shell would allow.
inline constexpr int BalloonHideMilliseconds = 10000;

inline constexpr int TrayAnimationFrameCount = 4;
inline constexpr int TrayAnimationIntervalMilliseconds = 500;

// The first maxCharacters characters of a UTF-8 text, never splitting a character; no mark.
std::string CutText(const std::string& text, int maxCharacters);

std::string TrayTip(const std::string& hint);
std::string BalloonTitle(const std::string& title);
std::string BalloonText(const std::string& text);

// The animation frame after frameIndex: 0, 1, 2, 3, 0, ...
int NextAnimationFrame(int frameIndex);

} // namespace nimbrel
