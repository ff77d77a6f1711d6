#include "app/TrayText.h"

#include "base/TextTime.h"

namespace nimbrel {

std::string CutText(const std::string& text, int maxCharacters) {
    return text.substr(0, CharacterPrefix(text, maxCharacters));
}

std::string TrayTip(const std::string& hint) {
    return CutText(hint, TrayTipLength);
}

std::string BalloonTitle(const std::string& title) {
    return CutText(title, BalloonTitleLength);
}

std::string BalloonText(const std::string& text) {
    return CutText(text, BalloonTextLength);
}

int NextAnimationFrame(int frameIndex) {
    return frameIndex + 1 >= TrayAnimationFrameCount ? 0 : frameIndex + 1;
}

} // namespace nimbrel
