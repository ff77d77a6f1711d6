#include "app/TrayText.h"

namespace nimbrel {

namespace {

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

std::string CutText(const std::string& text, int maxCharacters) {
    int characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsContinuationByte(text[i]))
            continue;
        if (characters == maxCharacters)
            return text.substr(0, i);
        ++characters;
    }
    return text;
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
